// First half of the run: target folder, settings, database and core files, fonts.
#include "install/InstallRun.h"

#include "common/Errors.h"
#include "common/Paths.h"
#include "common/IniWrite.h"
#include "common/SetupLog.h"
#include "common/WindowsFolder.h"
#include "install/CounterFile.h"
#include "install/DatabaseKeep.h"
#include "primitives/FilePrimitives.h"
#include "install/InstallFiles.h"
#include "integration/CreateNSI.h"
#include "integration/Fonts.h"

using namespace InstallFiles;

namespace {

// Close requests refused and the hourglass shown while the core files go down; restored
// however the block is left.
class TBusyPart {
public:
    explicit TBusyPart(TInstallHost& host) : FHost(host) {
        FHost.SetCanClose(false);
        FHost.SetBusyCursor(true);
    }
    TBusyPart(const TBusyPart&) = delete;
    TBusyPart& operator=(const TBusyPart&) = delete;
    ~TBusyPart() {
        FHost.SetCanClose(true);
        FHost.SetBusyCursor(false);
    }

private:
    TInstallHost& FHost;
};

} // namespace

TRunResult TInstallRun::InstallCore() {
    FTarget = TrimBlanks(FHost.PathText());
    FHost.ShowEmptyLog();
    FHost.SelectPage(TWizardPage::tsProgressInstall);
    FHost.ProcessMessages();
    FHost.SetCopyFrom(FSource);

    if (!CreateFolder(FTarget, L"Каталог создан...", L"Ошибка при создании каталога!")) {
        return TRunResult::rrTargetRefused;
    }
    BeginRecord();
    WriteSettingsKeys();
    {
        TBusyPart busy(FHost);
        if (!CopyCoreFiles()) {
            return TRunResult::rrStopped;
        }
    }
    InstallFontsQuietly();
    return TRunResult::rrCompleted;
}

// The record and the uninstaller come first, so that whatever the run gets to write can be
// removed again.
void TInstallRun::BeginRecord() {
    const std::wstring note = FRecord.Begin(FTarget);
    if (!note.empty()) {
        LogLine(note);
    }
    const std::wstring uninstaller = IncludeTrailingPathDelimiter(FTarget) + UninstallerName;
    if (!CopyFileW(ExecutablePath().c_str(), uninstaller.c_str(), FALSE)) {
        LogLine(L"Ошибка: программа удаления не скопирована: " + SysErrorMessage(GetLastError()));
        return;
    }
    SetReadOnlyAttribute(uninstaller, false); // from read-only media, it would refuse the next
}

// A folder the run needs: made when missing, else the error is shown and logged.
bool TInstallRun::CreateFolder(const std::wstring& folder, const std::wstring& created,
                               const std::wstring& failed) {
    if (DirectoryExists(folder)) {
        return true;
    }
    FRecord.ExpectFolder(folder);
    if (!CreateDirectoryW(folder.c_str(), nullptr)) {
        FHost.ShowError(failed);
        FLog.Line(failed);
        return false;
    }
    FLog.LineAndPaint(created);
    return true;
}

void TInstallRun::WriteSettingsKeys() {
    const std::wstring ini = FTarget + L"Settings\\holter.ini";
    FRecord.Write({ini}, [&] {
        IniWriteInteger(ini, L"options", L"FilterType", 0);
        IniWriteInteger(ini, L"options", L"HardwareType", 1);
    });
}

bool TInstallRun::CopyCoreFiles() {
    FHost.ProcessMessages();
    TLogStep settings = FLog.Step(L"Создание настроечных файлов....");
    const std::wstring settingsFolder = FTarget + L"Settings\\";
    FRecord.Write({settingsFolder + L"uca.nsi", settingsFolder + L"wra.nsi"},
                  [&] { CreateReferenceFiles(settingsFolder); });
    FLog.Finish(settings, true);

    if (!CreateFolder(FTarget + L"DTAfb\\", L"Каталог <DTAfb> создан...",
                      L"Ошибка при создании каталога <DTAfb>!") ||
        !CopyDatabase()) {
        return false;
    }
    const bool listA = FHost.WindowsIndex() == 0;
    const std::wstring firebird = FSource + L"Firebird\\";
    const TNames runtime = Runtime(listA);
    if (!CopyList(runtime, firebird, FTarget) || !CopyPlugins(L"intl\\", IntlFiles) ||
        !CopyPlugins(L"udf\\", UdfFiles)) {
        return false;
    }
    CopyLibraries();
    FRecord.Write({settingsFolder + L"lastnum.dta"}, [&] { CreateCounterFile(settingsFolder); });
    WriteBrandFile();
    return true;
}

bool TInstallRun::CopyDatabase() {
    const std::wstring from = FSource + L"DTAfb\\" + Database;
    const std::wstring to = FTarget + L"DTAfb\\" + Database;
    // The clinic's records must survive a reinstall: the old database is kept beside the new.
    const TDatabaseKeep kept = KeepExistingDatabase(to, from);
    if (kept.Outcome == TDatabaseKeep::dkRenamed) {
        FLog.Line(L"Прежняя база данных сохранена: " + kept.BackupName);
    } else if (kept.Outcome == TDatabaseKeep::dkFailed) {
        // The database is left alone, in use or not: the user learns why nothing was copied.
        FLog.Finish(FLog.Step(L"Копирование файла " + std::wstring(Database) + L"...."), false);
        FLog.Line(L"Прежнюю базу данных не удалось сохранить: " + SysErrorMessage(kept.Error));
        return false;
    }
    // A copy that fails, by a false result or an error, must not leave the suite without
    // its database: the clinic's own file goes back in place.
    bool copied = false;
    try {
        copied = CopyStep(Database, from, to);
    } catch (...) {
        RestoreDatabase(to, kept);
        throw;
    }
    if (!copied && RestoreDatabase(to, kept)) {
        FLog.Line(L"Прежняя база данных возвращена на место");
    }
    return copied;
}

bool TInstallRun::CopyStep(const std::wstring& name, const std::wstring& from,
                           const std::wstring& to) {
    TLogStep step = FLog.Step(L"Копирование файла " + name + L"....");
    FRecord.Expect(to);
    const bool copied = CopyFileByStream(from, to);
    FRecord.Written(to);
    FLog.Finish(step, copied);
    return copied;
}

bool TInstallRun::CopyList(TNames names, const std::wstring& from, const std::wstring& to) {
    for (const wchar_t* name : names) {
        if (!CopyStep(name, from + name, to + name)) {
            return false;
        }
    }
    return true;
}

bool TInstallRun::CopyPlugins(const std::wstring& folder, TNames names) {
    const std::wstring target = FTarget + folder;
    FRecord.ExpectFolder(target);
    if (!DirectoryExists(target)) {
        CreateDirectoryW(target.c_str(), nullptr); // a failure shows in the copies that follow
    }
    return CopyList(names, FSource + L"Firebird\\" + folder, target);
}

void TInstallRun::CopyLibraries() {
    // A library that fails to copy does not stop the run: the next one is tried.
    for (const wchar_t* name : Libraries) {
        CopyStep(name, FSource + L"UDF\\" + name, FTarget + L"udf\\" + name);
    }
}

void TInstallRun::WriteBrandFile() {
    if (FHost.LovenaBrand()) {
        const std::wstring file = FTarget + L"btooth.ini";
        FRecord.Write({file}, [&] { IniWriteString(file, L"Common", L"Disk", L"I"); });
    }
}

void TInstallRun::InstallFontsQuietly() {
    try {
        InstallFonts(
            FSource + L"fonts\\", GetWindowsFolder() + L"fonts\\",
            [this](const std::wstring& line) { FLog.Line(line); },
            [this](const std::wstring& file, const std::wstring& value) {
                FRecord.Font(file, value);
            });
    } catch (...) {
        // Fonts are a convenience: whatever stops them, the installation goes on.
    }
}
