// The last rows of the plan: driver, backups, updater, release level, shortcut; then the
// entry in the list of programs and the closing.
#include "install/InstallRun.h"

#include "common/AppStrings.h"
#include "common/DirEnum.h"
#include "common/Failure.h"
#include "common/Paths.h"
#include "common/SetupLog.h"
#include "common/ShellCopy.h"
#include "common/SmallFonts.h"
#include "install/BackupChoice.h"
#include "install/CopiedFiles.h"
#include "install/CopyFailures.h"
#include "install/Registration.h"
#include "install/SuiteShortcut.h"
#include "integration/ReleaseInfo.h"
#include "integration/Shortcut.h"
#include "primitives/ProcessPrimitives.h"
#include "primitives/TreeCopy.h"

#include <set>
#include <vector>

using namespace InstallFiles;

namespace {

// The copy found the target as the rollback left it, files and folders moved aside; the record
// must still tell what was there before the run.
void ReadEarlier(TTreeCopy& copy, const TRollback& rollback) {
    for (TTreeFolder& folder : copy.Folders) {
        const std::wstring earlier = rollback.EarlierPlace(folder.Target);
        if (SamePath(earlier, folder.Target)) {
            for (TTreeFile& file : folder.Files) {
                file.Existed =
                    file.Existed || rollback.SavedAside(folder.Target + L'\\' + file.Name);
            }
            continue;
        }
        folder.Existed = DirectoryExists(earlier);
        std::set<std::wstring, TPathLess> names;
        if (folder.Existed) {
            for (const TDirEntry& entry : ListDirEntries(earlier + L"\\*", faAnyFile)) {
                if (!entry.IsDirectory()) {
                    names.insert(entry.Name);
                }
            }
        }
        for (TTreeFile& file : folder.Files) {
            file.Existed = names.contains(file.Name);
        }
    }
}

} // namespace

void TInstallRun::InstallDriver(const TPlanRow& row) {
    if (!FQuestions.Ask(TQuestion::qDriver, L"Подключите интерфейсный блок и нажмите \"Yes\"?")) {
        return;
    }
    const std::wstring from = ExcludeTrailingPathDelimiter(From(row));
    if (DirectoryExists(from)) {
        const std::wstring to = ExcludeTrailingPathDelimiter(To(row));
        FRecord.ExpectTree(from, to);
        FRollback.BeforeShellFolder(to);
        // Into the target folder itself: the shell then merges with the driver folder of an
        // earlier installation, so a reinstall runs the new installer, not a stale one nested
        // below it.
        // Recorded only as far as the shell copied it: files it passed over, or never reached,
        // are whatever was there before, not ours to remove.
        if (ShellCopyFolder(from, FTarget, FChoices.Unattended)) {
            FRecord.WrittenTree(from, to, FilesNotCopied(from, to));
        } else {
            LogFailure(Failure(L"Копирование папки драйвера", from, 0));
        }
        FRollback.AfterFolder(to);
    }
    FLog.Line(L"Началась установка драйверов устройства...");
    FProgress.LogRepaint();
    // Quoted: a target folder with blanks must not start some other program.
    const std::wstring installer = FTarget + DriverInstaller;
    FRollback.Ran(installer);
    if (RunInCurrentDirAndWait(L"\"" + installer + L"\"", SW_HIDE, true) == -1) {
        LogFailure(Failure(L"Запуск установщика драйвера", installer, 0));
    }
    FLog.Line(L"Установка драйверов устройства завершена");
}

// The files that fail are collected; the log names them once the last tree is copied.
void TInstallRun::CopyTree(const TPlanRow& row) {
    const std::wstring from = ExcludeTrailingPathDelimiter(From(row));
    const std::wstring to = ExcludeTrailingPathDelimiter(To(row));
    FRecord.ExpectFolder(to);
    FRollback.BeforeTree(from, to);
    if (!DirectoryExists(to) && !CreateDirectoryW(to.c_str(), nullptr)) {
        LogFailure(Failure(L"Создание каталога", to)); // the copy tries again, and reports
    }
    TTreeCopy copy = CopyFolderTreeReporting(from, to);
    for (const wchar_t* name : row.Names) {
        SetReadOnlyAttribute(To(row, name), false);
    }
    for (const TCopyFailure& failure : copy.Failures) {
        FRollback.PutBack(failure.Target);
    }
    ReadEarlier(copy, FRollback);
    FRecord.CopiedTree(copy);
    FRollback.AfterFolder(to);
    FTreeFailures.insert(FTreeFailures.end(), std::make_move_iterator(copy.Failures.begin()),
                         std::make_move_iterator(copy.Failures.end()));
}

void TInstallRun::ReportTreeFailures() {
    ReportCopyFailures(FLog, FTreeFailures);
    FTreeFailed = FTreeFailed || !FTreeFailures.empty();
    FTreeFailures.clear();
}

void TInstallRun::SetNewestReleaseLevel(const TPlanRow& row) {
    const std::wstring backup = RunNewestBackupScript();
    FRollback.BeforeEdit(To(row, row.Names[0]));
    FRecord.Write({To(row, row.Names[0])},
                  [&] { SetReleaseLevel(To(row), FolderName(backup).substr(1)); });
}

std::wstring TInstallRun::RunNewestBackupScript() {
    const std::wstring backupFolder = FTarget + BackupFolder;
    std::vector<std::wstring> folders;
    ListSubfolders(backupFolder, folders);
    const std::wstring chosen = ChooseNewestBackup(folders, backupFolder);

    FRollback.Ran(chosen + L"\\Install.cmd");
    SetCurrentDirectoryW((chosen + L"\\").c_str());
    const DWORD code = RunAndWait(chosen + L"\\Install.cmd", L"", SW_HIDE);
    if (code != 0) {
        LogLine(L"Сценарий " + chosen + L"\\Install.cmd завершился с кодом " +
                std::to_wstring(code));
    }
    SetCurrentDirectoryW(FTarget.c_str());
    return chosen;
}

void TInstallRun::CreateDesktopShortcut() {
    FRollback.BeforeReplace(SuiteShortcutFile(FTarget));
    const std::wstring linkFile = CreateSuiteShortcut(FTarget);
    if (FileExists(linkFile)) {
        FRecord.Shortcut(linkFile);
    } else {
        LogFailure(Failure(L"Ярлык на рабочем столе не создан", linkFile, 0));
    }
}

// The entry in Windows' list of installed programs, for a run that went to its end. Written
// to the log file only: the progress list shows the installation's own steps.
void TInstallRun::Register() {
    if (!FRecord.Compact()) {
        LogFailure(Failure(L"Запись об установке не переписана", FTarget + InstallRecordName));
    }
    FRollback.BeforeKey(RegistrationKey);
    WIN32_FILE_ATTRIBUTE_DATA uninstaller{};
    GetFileAttributesExW((FTarget + UninstallerName).c_str(), GetFileExInfoStandard, &uninstaller);
    if (WriteRegistration(FTarget, FRecord.InstalledBytes() + uninstaller.nFileSizeLow, FSource)) {
        LogLine(L"Комплекс внесён в список установленных программ");
    } else {
        LogFailure(Failure(L"Запись в списке установленных программ", RegistrationKey));
        LogLine(L"Ошибка: комплекс не внесён в список установленных программ");
    }
}

void TInstallRun::Close() {
    if (!FChoices.Unattended && IsSmallFontsMode()) {
        FProgress.ShowFontSizePage();
        return;
    }
    if (FQuestions.Ask(TQuestion::qFinished,
                       L"Установка завершена. Выйти из программы установки?")) {
        FProgress.CloseWindow();
    }
}
