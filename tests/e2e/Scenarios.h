#pragma once

namespace e2e {

class TContext;

// One function per scenario, each in its own file; the table is in Scenarios.cpp.

// Welcome, path, options with the driver warning, then Cancel answered Yes and Exit.
void CancelOnOptions(TContext& context);

// Whole installations of the sample distribution, each checked afterwards (Installation.h).
// Default folder at 96 dpi with the driver: the font-size page, the restart declined, "Выход".
void InstallDefault(TContext& context);
// Default folder at 120 dpi with the driver: the final question answered Yes.
void InstallLargeFontsExit(TContext& context);
// Default folder at 120 dpi, the driver declined: the final question answered No, "Выход".
void InstallLargeFontsStayNoDriver(TContext& context);
// A folder with blanks and Cyrillic letters typed into the path field, with the driver.
void InstallPathWithBlanks(TContext& context);
// A second installation over the first, after the clinic has worked with it: the old database
// kept, settings and counter kept, the shell's overwrite confirmation answered.
void ReinstallKeepsDatabase(TContext& context);

// Started by a script (UnattendedScenarios.cpp).
// /VERYSILENT into the default folder: no window at any moment, exit 0, the wizard's result.
void VerySilentDefault(TContext& context);
// /SILENT into a folder with blanks and Cyrillic letters, the driver, a log file path with
// blanks: the progress page only, closed by itself.
void SilentPathDriverLog(TContext& context);
// /VERYSILENT twice: the clinic's database kept as a .bak file, and the log file says so.
void VerySilentReinstall(TContext& context);
// /VERYSILENT from a distribution whose every file is read-only: no installed file is.
void VerySilentReadOnlyMedia(TContext& context);
// A drive root, an empty folder name, a folder that cannot be made: exit 3, nothing made.
void UnattendedTargetRefused(TContext& context);
// Unknown switches, missing values, contradictions, stray text: exit 1; /? lists the switches.
void UnattendedBadCommandLine(TContext& context);
// A second copy while the wizard runs: exit 1.
void UnattendedSecondCopy(TContext& context);
// The keyboard alone (KeyboardScenarios.cpp): a whole default installation at 96 dpi with
// Enter only; Esc on pages 1 to 3 with the question answered No and Yes, and in the driver
// warning; the tab order of pages 2 and 3 and of the warning, and the accessible names.
void KeyboardInstall(TContext& context);
void KeyboardEscape(TContext& context);
void KeyboardTabOrder(TContext& context);

// Programs and Features, and removal (RemovalScenarios.cpp, RemovalTroubleScenarios.cpp).
// /VERYSILENT: every value of the entry; a reinstall keeps one entry and dates it anew.
void RegistrationEntry(TContext& context);
// Uninstall.exe as a person starts it: question Yes, log, final box; the data and the
// recordings kept byte for byte, everything else gone, its copy in %TEMP% deleted at restart.
void RemovalWizardKeepsData(TContext& context);
// The question answered No: exit 2, nothing changed.
void RemovalAnswerNo(TContext& context);
// /VERYSILENT: no window of any process, exit 0, a log line for every item removed.
void RemovalVerySilent(TContext& context);
// A changed file kept, a read-only and a held one not removable: exit 4; once they are free,
// a second run completes.
void RemovalChangedAndLocked(TContext& context);
// A run that stops on a fresh target undoes itself whole; /UNINSTALL finds nothing there.
void StoppedRunLeavesNothing(TContext& context);
// Damaged records: exit 4 and nothing at all removed, nothing outside the target touched.
void RemovalBadRecord(TContext& context);
// QuietUninstallString run as it stands, for a folder with blanks and Cyrillic letters.
void RemovalCyrillicBlanks(TContext& context);

// Setup and removal that cannot be turned against the computer or the clinic's data.
// A target spelled with forward slashes, doubled delimiters and "." steps: one canonical folder
// in the entry, the shortcut and the record; removal finds it however it is spelled
// (TargetSpellingScenarios.cpp).
void UnattendedCanonicalTarget(TContext& context);
// /DIR two missing levels deep: both made and logged; a level that cannot be made takes back
// the ones made before it.
void UnattendedDirEveryLevel(TContext& context);
// Libraries of system libraries' names planted beside Install.exe and in %TEMP%: none loaded
// by setup, the uninstaller or its copy (PlantedLibraryScenario.cpp).
void PlantedLibraries(TContext& context);
// /LOG naming the database, a settings file, a report, a folder: refused, each left as it was;
// setup's own earlier log replaced; a relative /LOG in the caller's folder (LogFileScenario.cpp).
void LogNeverDestroysAFile(TContext& context);
// The other brand's build adds its key to the clinic's own btooth.ini: removal keeps the file
// (EditedFileScenario.cpp).
void RemovalKeepsEditedFiles(TContext& context);
// Deletions at restart of files a reinstall writes are taken back; others stay
// (PendingDeletionScenario.cpp).
void PendingDeletionCancelled(TContext& context);
// Uninstall.exe /VERYSILENT and at once Install.exe /VERYSILENT, three times: nothing held when
// the removal's code is known, the new installation whole (BackToBackScenario.cpp).
void RemovalBackToBack(TContext& context);
// Verify and repair (VerifyScenarios.cpp).
// Six damages (a file deleted, one changed with its size and time kept, one made read-only, a
// font's registry value, the shortcut, the entry) each found by /VERIFY /VERYSILENT and put
// right by /REPAIR /VERYSILENT; the clinic's data byte for byte afterwards.
void VerifyRepairDamages(TContext& context);
// The window modes: /VERIFY from the distribution ("цела"), a difference in the list and its
// box, the entry's ModifyPath run as Programs and Features runs it.
void VerifyWindows(TContext& context);
// The recorded distribution moved away: /REPAIR /VERYSILENT ends with 3; the window mode asks
// for the folder and a cancelled browser ends with 3. Nothing installed; /VERIFY /REPAIR.
void VerifyDistributionGone(TContext& context);
// A distribution a user named in the record: the repair copies from the entry's.
void RepairSourceFromEntry(TContext& context);

// Run by a user without privileges, on a prefix of that user's (UnprivilegedScenarios.cpp).
// A reinstall over an installation whose backup and updater files are read-only.
void ReinstallOverReadOnlyFiles(TContext& context);

} // namespace e2e
