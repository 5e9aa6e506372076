// Second half of the run: driver, backups, updater, release level, shortcut, closing.
#include "install/InstallRun.h"

#include "common/AppStrings.h"
#include "common/Paths.h"
#include "common/SetupLog.h"
#include "common/ShellCopy.h"
#include "common/SmallFonts.h"
#include "install/BackupChoice.h"
#include "install/CopyFailures.h"
#include "install/Registration.h"
#include "primitives/FilePrimitives.h"
#include "primitives/ProcessPrimitives.h"
#include "integration/ReleaseInfo.h"
#include "integration/Shortcut.h"

#include <set>
#include <vector>

TRunResult TInstallRun::InstallCompletion() {
    InstallDriver();
    const bool copied = CopyBackupsAndUpdater();
    const std::wstring backup = RunNewestBackupScript();
    FRecord.Write({FTarget + L"ReleaseInfo"},
                  [&] { SetReleaseLevel(FTarget, FolderName(backup).substr(1)); });
    CreateDesktopShortcut();
    Register();
    FHost.EnableExit();
    Close();
    return copied ? TRunResult::rrCompleted : TRunResult::rrCopiesFailed;
}

void TInstallRun::InstallDriver() {
    if (!FHost.DriverChecked()) {
        return;
    }
    if (!FHost.Ask(TQuestion::qDriver, L"Подключите интерфейсный блок и нажмите \"Yes\"?")) {
        return;
    }
    if (DirectoryExists(FSource + L"FTDIDriverInstall")) {
        const std::wstring from = FSource + L"FTDIDriverInstall";
        const std::wstring to = FTarget + L"FTDIDriverInstall";
        FRecord.ExpectTree(from, to);
        // Into the target folder itself: the shell then merges with the driver folder of an
        // earlier installation, so a reinstall runs the new installer, not a stale one nested
        // below it.
        ShellCopyFolder(from, FTarget, FHost.Unattended());
        FRecord.WrittenTree(from, to);
    }
    FLog.Line(L"Началась установка драйверов устройства...");
    FHost.LogRepaint();
    // Quoted: a target folder with blanks must not start some other program.
    const std::wstring installer = FTarget + L"FTDIDriverInstall\\FTDIDriverInstall.exe";
    RunInCurrentDirAndWait(L"\"" + installer + L"\"", SW_HIDE, true);
    FLog.Line(L"Установка драйверов устройства завершена");
}

// True when every file was copied; the log says which were not.
bool TInstallRun::CopyBackupsAndUpdater() {
    FRecord.ExpectTree(FSource + L"backup", FTarget + L"backup");
    if (!DirectoryExists(FTarget + L"Backup\\")) {
        CreateDirectoryW((FTarget + L"backup\\").c_str(), nullptr);
    }
    const std::wstring updaterTarget = TrimBlanks(FHost.PathText());
    FRecord.ExpectTree(FSource + L"Updater", updaterTarget);
    TCopyFailures failures = CopyFolderTree(FSource + L"backup", FTarget + L"backup");
    for (TCopyFailure& failure : CopyFolderTree(FSource + L"Updater", updaterTarget)) {
        failures.push_back(std::move(failure));
    }
    SetReadOnlyAttribute(FTarget + L"ReleaseInfo", false);
    SetReadOnlyAttribute(FTarget + L"Updater.exe.cfg", false);
    std::set<std::wstring> failed;
    for (const TCopyFailure& failure : failures) {
        failed.insert(failure.Target);
    }
    FRecord.WrittenTree(FSource + L"backup", FTarget + L"backup", failed);
    FRecord.WrittenTree(FSource + L"Updater", updaterTarget, failed);
    ReportCopyFailures(FLog, failures);
    return failures.empty();
}

std::wstring TInstallRun::RunNewestBackupScript() {
    const std::wstring backupFolder = FTarget + L"backup\\";
    std::vector<std::wstring> folders;
    ListSubfolders(backupFolder, folders);
    const std::wstring chosen = ChooseNewestBackup(folders, backupFolder);

    SetCurrentDirectoryW((chosen + L"\\").c_str());
    RunAndWait(chosen + L"\\Install.cmd", L"", SW_HIDE);
    SetCurrentDirectoryW(FTarget.c_str());
    return chosen;
}

void TInstallRun::CreateDesktopShortcut() {
    const HINSTANCE self = GetModuleHandleW(nullptr);
    const std::wstring description = ProductDescription(self);
    const std::wstring product = ProductName(self);
    const std::wstring linkName = ProductName(self);
    const std::wstring program = MainExecutableName(self);
    std::wstring linkFile;
    CreateShellLink(FTarget + program, TLinkLocation::llDesktop, L"", L"", L"",
                    description + L" \"" + product + L"\"", linkName, linkFile);
    if (FileExists(linkFile)) {
        FRecord.Shortcut(linkFile);
    }
}

// The entry in Windows' list of installed programs, for a run that went to its end. Written
// to the log file only: the progress list shows the installation's own steps.
void TInstallRun::Register() {
    FRecord.Compact();
    const std::wstring target = IncludeTrailingPathDelimiter(FTarget);
    WIN32_FILE_ATTRIBUTE_DATA uninstaller{};
    GetFileAttributesExW((target + UninstallerName).c_str(), GetFileExInfoStandard, &uninstaller);
    if (WriteRegistration(target, FRecord.InstalledBytes() + uninstaller.nFileSizeLow)) {
        LogLine(L"Комплекс внесён в список установленных программ");
    } else {
        LogLine(L"Ошибка: комплекс не внесён в список установленных программ");
    }
}

void TInstallRun::Close() {
    if (!FHost.Unattended() && IsSmallFontsMode()) {
        FHost.SelectPage(TWizardPage::tsChangeFontSize);
        return;
    }
    if (FHost.Ask(TQuestion::qFinished, L"Установка завершена. Выйти из программы установки?")) {
        FHost.CloseWindow();
    }
}
