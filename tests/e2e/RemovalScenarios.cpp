// Programs and Features, and removal: the entry an installation writes, and Uninstall.exe run
// as a person and as a deployment system runs it.
#include <windows.h>

#include <algorithm>
#include <functional>

#include "Files.h"
#include "Machine.h"
#include "RecordFile.h"
#include "Removal.h"
#include "Report.h"
#include "Scenario.h"
#include "Scenarios.h"
#include "Unattended.h"
#include "common/Handles.h"
#include "common/Paths.h"
#include "support/RegistryView.h"

namespace e2e {
namespace {

constexpr wchar_t Holter[] = L"C:\\Holter\\";
constexpr wchar_t DisplayName[] = L"Сонтира";
constexpr wchar_t CopyLine[] = L"Копия программы удаления: ";
constexpr wchar_t PendingValue[] = L"PendingFileRenameOperations";

std::wstring Today() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t text[16];
    swprintf(text, 16, L"%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
    return text;
}

// The subkeys of the Programs and Features list whose DisplayName is the suite's.
std::vector<std::wstring> EntriesOfSuite() {
    std::vector<std::wstring> entries;
    const TUniqueKey key = regview::OpenMachineKey(UninstallKey, regview::Own);
    if (!key) {
        return entries;
    }
    wchar_t name[256];
    for (DWORD i = 0; RegEnumKeyW(key.get(), i, name, 256) == ERROR_SUCCESS; ++i) {
        std::wstring shown;
        if (ReadMachineString((std::wstring(UninstallKey) + L"\\" + name).c_str(), L"DisplayName",
                              shown, regview::Own) &&
            shown == DisplayName) {
            entries.push_back(name);
        }
    }
    return entries;
}

// On 64-bit Windows the entry is in the view of the program's bitness only; a 32-bit program's
// is where deployment scripts read it, under WOW6432Node.
void CheckEntryView(TContext& context) {
    if (!regview::TwoViews()) {
        return;
    }
    context.Check(!regview::OpenMachineKey(RegistrationKey, regview::Other),
                  L"the entry is also in " + std::wstring(regview::OtherName));
    if (regview::ThirtyTwoBit) {
        const std::wstring wow = L"Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\"
                                 L"Uninstall\\Sontira";
        context.Check(static_cast<bool>(regview::OpenMachineKey(wow, KEY_WOW64_64KEY)),
                      L"no key HKLM\\" + wow);
    }
}

// The entry's values; its date is `day` or today (a run across midnight).
void CheckEntryValues(TContext& context, const std::wstring& target, const std::wstring& day,
                      const std::wstring& source) {
    const std::wstring uninstall = L"\"" + target + UninstallName + L"\"";
    const std::pair<const wchar_t*, std::wstring> strings[] = {
        {L"DisplayName", DisplayName},
        {L"DisplayVersion", L"8.74.3"},
        {L"Publisher", L"ООО «Пример-Мед»"},
        {L"InstallLocation", target},
        {L"DisplayIcon", target + L"Shell.exe"},
        {L"UninstallString", uninstall},
        {L"QuietUninstallString", uninstall + L" /VERYSILENT"},
        {L"ModifyPath", uninstall + L" /REPAIR"},
        {L"InstallSource", source},
    };
    for (const auto& [name, expected] : strings) {
        std::wstring value;
        if (ReadMachineString(RegistrationKey, name, value, regview::Own)) {
            context.CheckEqual(value, expected, L"Programs and Features " + std::wstring(name));
        } else {
            context.Check(false, L"Programs and Features: no REG_SZ value " + std::wstring(name));
        }
    }
    std::wstring date;
    ReadMachineString(RegistrationKey, L"InstallDate", date, regview::Own);
    context.Check(date == day || date == Today(), L"Programs and Features InstallDate is \"" +
                                                      date + L"\", not today's " + Today());
    // Programs and Features offers Repair (ModifyPath), not Change.
    for (const auto& [name, expected] : {std::pair{L"NoModify", 1u}, std::pair{L"NoRepair", 0u}}) {
        DWORD value = 0;
        context.Check(ReadMachineDword(RegistrationKey, name, value, regview::Own) &&
                          value == expected,
                      L"Programs and Features: " + std::wstring(name) + L" is not REG_DWORD " +
                          std::to_wstring(expected));
    }
}

// The record lists every file the run installed (not the clinic's data, not what the suite's
// scripts wrote) with its size and time, and the entry's size is what it lists.
void CheckRecordAndSize(TContext& context, const std::wstring& target) {
    const TRecord record = ReadRecord(target);
    if (!record.Problem.empty()) {
        context.Check(false, L"the install record breaks its format: " + record.Problem);
        return;
    }
    const TMachineState state = TakeState(target);
    for (const auto& [file, bytes] : state.Files) {
        if (state.Kept(file) || file == RecordName || file == UninstallName) {
            continue;
        }
        const auto listed = std::find_if(record.Files.begin(), record.Files.end(),
                                         [&](const TRecordedFile& f) { return f.Path == file; });
        if (listed == record.Files.end()) {
            context.Check(false, L"the install record does not list " + file);
            continue;
        }
        context.Check(listed->Size == bytes.size(), L"the install record's size of " + file);
        context.CheckEqual(listed->Time, RecordTime(target + file),
                           L"the install record's time of " + file);
    }
    const std::wstring link = DesktopFolder() + ShortcutName;
    context.Check(std::find(record.Shortcuts.begin(), record.Shortcuts.end(), link) !=
                      record.Shortcuts.end(),
                  L"the install record does not list the shortcut " + link);
    // What the record lists and the uninstaller beside it, which is installed too.
    const size_t uninstaller =
        state.Files.contains(UninstallName) ? state.Files.at(UninstallName).size() : 0;
    ULONGLONG bytes = uninstaller;
    for (const auto& file : record.Files) {
        bytes += file.Size;
    }
    DWORD kib = 0;
    context.Check(ReadMachineDword(RegistrationKey, L"EstimatedSize", kib, regview::Own),
                  L"no EstimatedSize");
    context.Check(uninstaller > 0 && kib == (bytes + 1023) / 1024,
                  L"EstimatedSize is " + std::to_wstring(kib) + L" KiB; the record lists " +
                      std::to_wstring(bytes - uninstaller) + L" bytes, and " + UninstallName +
                      L" has " + std::to_wstring(uninstaller));
}

// The log file the removal wrote by default in %TEMP%: the copy it ran as, in a folder of its
// own there under a name nobody could guess, both scheduled for deletion at restart (the file
// first, or the folder would not be empty).
void CheckCopyScheduled(TContext& context, const std::vector<std::wstring>& logsBefore) {
    std::vector<std::wstring> lines;
    for (const auto& log : RemovalLogsInTemp()) {
        if (std::find(logsBefore.begin(), logsBefore.end(), log) == logsBefore.end()) {
            const auto more = ReadLogFile(log);
            lines.insert(lines.end(), more.begin(), more.end());
        }
    }
    context.Check(!lines.empty(), L"no new log file " + TempFolder() + L"Sontira-Uninstall-*.log");
    const auto line = std::find_if(lines.begin(), lines.end(),
                                   [](const std::wstring& l) { return l.starts_with(CopyLine); });
    if (line == lines.end()) {
        context.Check(false, L"no log line \"" + std::wstring(CopyLine) + L"...\"");
        return;
    }
    // The path may be followed by a remark.
    const std::wstring rest = line->substr(std::wstring(CopyLine).size());
    const size_t end = rest.find(L".exe");
    const std::wstring copy = end == std::wstring::npos ? rest : rest.substr(0, end + 4);
    const std::wstring folder = ExcludeTrailingPathDelimiter(ExtractFilePath(copy));
    const std::wstring name = folder.substr(folder.find_last_of(L'\\') + 1);
    const std::wstring prefix = L"Sontira-Uninstall-";
    context.Check(lstrcmpiW(ExtractFilePath(folder).c_str(), TempFolder().c_str()) == 0 &&
                      name.starts_with(prefix) && name.size() == prefix.size() + 32 &&
                      name.find_first_not_of(L"0123456789abcdef", prefix.size()) ==
                          std::wstring::npos &&
                      copy.ends_with(L"\\Sontira-Uninstall.exe"),
                  L"the copy " + copy +
                      L" is not %TEMP%\\Sontira-Uninstall-<32 hex digits>\\Sontira-Uninstall.exe");
    std::vector<std::wstring> pending;
    ReadMachineStrings(SessionManagerKey, PendingValue, pending);
    const auto file = std::find(pending.begin(), pending.end(), L"\\??\\" + copy);
    context.Check(file != pending.end() &&
                      std::find(file, pending.end(), L"\\??\\" + folder) != pending.end(),
                  L"PendingFileRenameOperations does not name \\??\\" + copy +
                      L" and after it \\??\\" + folder);
}

} // namespace

void RegistrationEntry(TContext& context) {
    const std::wstring dayBefore = Today();
    const std::wstring source = InstallQuietly(context, Holter);
    if (RegistrationValues().empty()) {
        Fail(L"the installation wrote no entry HKLM\\" + std::wstring(RegistrationKey) + L" in " +
             regview::OwnName);
    }
    const std::wstring distribution = IncludeTrailingPathDelimiter(source);
    CheckEntryView(context);
    CheckEntryValues(context, Holter, dayBefore, distribution);
    CheckRecordAndSize(context, Holter);
    context.CheckEqual(ReadRecord(Holter).Source, distribution, L"the record's source line");

    // A later installation into the same folder: the same single entry, dated anew.
    const std::wstring old = L"20000101";
    const TUniqueKey entry = regview::OpenMachineKey(RegistrationKey, regview::Own, KEY_SET_VALUE);
    RegSetValueExW(entry.get(), L"InstallDate", 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(old.c_str()),
                   static_cast<DWORD>((old.size() + 1) * sizeof(wchar_t)));
    const std::wstring dayAgain = Today();
    const TSetupRun again = RunSetup(source, L"/VERYSILENT");
    CheckExit(context, again, 0);
    const auto entries = EntriesOfSuite();
    context.Check(entries == std::vector<std::wstring>{L"Sontira"},
                  L"after the reinstall " + std::to_wstring(entries.size()) +
                      L" entries named Сонтира, expected the one key Sontira");
    CheckEntryValues(context, Holter, dayAgain, distribution);
}

void RemovalWizardKeepsData(TContext& context) {
    InstallQuietly(context, Holter);
    const std::wstring target = Holter;
    CreateFolders(target + L"Records");
    WriteBytes(target + L"Records\\пациент 1.dat", "ECG recording 0001 of patient 1\n");
    WriteBytes(target + L"пациент 2.dat", "ECG recording 0002 of patient 2\n");
    CopyFileW((target + L"DTAfb\\R47.FDB").c_str(),
              (target + L"DTAfb\\R47.FDB.20250301-101500.bak").c_str(), TRUE);
    const TMachineState before = TakeState(target, {L"Records\\пациент 1.dat", L"пациент 2.dat"});
    const auto logsBefore = RemovalLogsInTemp();

    TRemovalAnswers answers(context, IDYES);
    const TSetupRun run = RunUninstall(target, L"", std::ref(answers));
    CheckExit(context, run, 0);
    context.CheckEqual(answers.Question,
                       L"Удалить комплекс \"Сонтира\" из папки C:\\Holter? База данных и "
                       L"настройки будут сохранены.",
                       L"the question");
    context.Check(answers.Final.find(L"C:\\Holter") != std::wstring::npos,
                  L"a final box \"Комплекс \"Сонтира\" удалён...\" naming C:\\Holter, not \"" +
                      Visible(answers.Final) + L"\"");
    context.CheckEqual(answers.MainCaption, L"Удаление комплекса", L"the main window's caption");
    context.Check(HasStepDone(answers.Log, L"Удаление записи из списка установленных программ"),
                  L"the window's log shows the entry removed");
    for (const auto& line : answers.Log) {
        context.Check(!line.ends_with(L"ОШИБКА!!!"), L"the window's log shows \"" + line + L"\"");
    }
    CheckRemoved(context, before);
    CheckCopyScheduled(context, logsBefore);
}

void RemovalAnswerNo(TContext& context) {
    InstallQuietly(context, Holter);
    const TMachineState before = TakeState(Holter);
    TRemovalAnswers answers(context, IDNO);
    const TSetupRun run = RunUninstall(Holter, L"", std::ref(answers));
    CheckExit(context, run, 2);
    context.Check(!answers.Question.empty(), L"no question was asked");
    context.Check(answers.Final.empty(),
                  L"a final box after No: \"" + Visible(answers.Final) + L"\"");
    CheckUnchanged(context, before);
}

void RemovalVerySilent(TContext& context) {
    InstallQuietly(context, Holter);
    const TRecord record = ReadRecord(Holter);
    context.Check(record.Problem.empty(), L"the installation's record: " + record.Problem);
    const TMachineState before = TakeState(Holter);
    const std::wstring log = L"C:\\removal-verysilent.log";

    const TSetupRun run = RunUninstall(Holter, L"/VERYSILENT /LOG=" + log);
    CheckExit(context, run, 0);
    CheckNoWindow(context, run);
    const auto lines = ReadLogFile(log);
    CheckResultLine(context, lines, 0);
    for (const auto& file : record.Files) {
        if (!before.Kept(file.Path)) {
            context.Check(HasStepDone(lines, L"Удаление файла " + file.Path),
                          L"the log does not show " + file.Path + L" removed");
        }
    }
    for (const auto& link : record.Shortcuts) {
        context.Check(HasStepDone(lines, L"Удаление ярлыка " + link),
                      L"the log does not show the shortcut removed");
    }
    context.Check(HasStepDone(lines, L"Удаление записи из списка установленных программ"),
                  L"the log does not show the entry removed");
    for (const auto& folder : before.Folders) {
        if (!FolderExists(Holter + folder)) {
            context.Check(HasStepDone(lines, L"Удаление каталога " + folder),
                          L"the log does not show the folder " + folder + L" removed");
        }
    }
    CheckRemoved(context, before);
}

// The registered command line itself, as a deployment system runs it, for a folder whose name
// needs its quotes.
void RemovalCyrillicBlanks(TContext& context) {
    const std::wstring target = L"C:\\Program Files\\Сонтира Тест\\";
    InstallQuietly(context, target);
    const TMachineState before = TakeState(target);
    std::wstring quiet;
    if (!ReadMachineString(RegistrationKey, L"QuietUninstallString", quiet, regview::Own)) {
        Fail(L"no QuietUninstallString under HKLM\\" + std::wstring(RegistrationKey));
    }
    const TSetupRun run = RunCommandLine(quiet);
    CheckExit(context, run, 0);
    CheckNoWindow(context, run);
    CheckRemoved(context, before);
}

} // namespace e2e
