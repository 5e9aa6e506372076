// The first rows of the plan: target folder, settings, database and core files, fonts.
#include "install/InstallRun.h"

#include "common/Errors.h"
#include "common/Failure.h"
#include "common/IniWrite.h"
#include "common/Paths.h"
#include "common/SetupLog.h"
#include "common/WindowsFolder.h"
#include "install/CounterFile.h"
#include "install/DatabaseKeep.h"
#include "integration/CreateNSI.h"
#include "integration/FontRegistry.h"
#include "integration/Fonts.h"

// The record comes first, so that whatever the run gets to write can be removed again.
void TInstallRun::BeginRecord() {
    const std::wstring record = FTarget + InstallRecordName;
    FRollback.BeforeEdit(record);
    FRollback.BeforeCreate(record + L".new");
    const std::wstring note = FRecord.Begin(
        FTarget, [this](const std::wstring& aside) { FRollback.BeforeReplace(aside); });
    if (!note.empty()) {
        LogLine(note);
    }
    FRecord.Source(FSource);
}

void TInstallRun::CopyUninstaller() {
    const std::wstring uninstaller = FTarget + UninstallerName;
    FRecord.WillWrite(uninstaller);
    FRollback.BeforeReplace(uninstaller);
    if (!CopyFileW(ExecutablePath().c_str(), uninstaller.c_str(), FALSE)) {
        LogFailure(Failure(L"Программа удаления не скопирована", uninstaller));
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
    FRollback.BeforeFolder(folder);
    if (!CreateDirectoryW(folder.c_str(), nullptr)) {
        LogFailure(Failure(L"Создание каталога", folder));
        FQuestions.ShowError(failed);
        FLog.Line(failed);
        return false;
    }
    FLog.LineAndPaint(created);
    return true;
}

void TInstallRun::WriteSettingsKeys(const TPlanRow& row) {
    const std::wstring ini = To(row, row.Names[0]);
    FRollback.BeforeEdit(ini);
    FRecord.Write({ini}, [&] {
        IniWriteInteger(ini, L"options", L"FilterType", 0);
        IniWriteInteger(ini, L"options", L"HardwareType", 1);
    });
}

void TInstallRun::CreateReferenceFiles(const TPlanRow& row) {
    FProgress.ProcessMessages();
    TLogStep settings = FLog.Step(L"Создание настроечных файлов....");
    for (const wchar_t* name : row.Names) {
        FRollback.BeforeCreate(To(row, name));
    }
    FRecord.Write({To(row, row.Names[0]), To(row, row.Names[1])},
                  [&] { ::CreateReferenceFiles(To(row)); });
    FLog.Finish(settings, true);
}

bool TInstallRun::CopyDatabase(const TPlanRow& row) {
    const std::wstring folder = ExcludeTrailingPathDelimiter(row.Target);
    if (!CreateFolder(To(row), L"Каталог <" + folder + L"> создан...",
                      L"Ошибка при создании каталога <" + folder + L">!")) {
        return false;
    }
    const wchar_t* name = row.Names[0];
    const std::wstring from = From(row, name);
    const std::wstring to = To(row, name);
    // The clinic's records must survive a reinstall: the old database is kept beside the new.
    const TDatabaseKeep kept = KeepExistingDatabase(to, from);
    if (kept.Outcome == TDatabaseKeep::dkRenamed) {
        FRollback.AfterRename(to, To(row, kept.BackupName.c_str()));
        FLog.Line(L"Прежняя база данных сохранена: " + kept.BackupName);
    } else if (kept.Outcome == TDatabaseKeep::dkFailed) {
        // The database is left alone, in use or not: the user learns why nothing was copied.
        FLog.Finish(FLog.Step(L"Копирование файла " + std::wstring(name) + L"...."), false);
        FLog.Line(L"Прежнюю базу данных не удалось сохранить: " + SysErrorMessage(kept.Error));
        return LogFailure(Failure(L"Сохранение прежней базы данных", to, kept.Error));
    }
    const TStreamCopy copy = CopyStep(name, from, to);
    // A copy that fails must not leave the suite without its database: the clinic's own file
    // goes back in place, before the failure is reported.
    if (!copy.Copied() && kept.Outcome == TDatabaseKeep::dkRenamed) {
        if (RestoreDatabase(to, kept)) {
            FRollback.LeaveAlone(to);
            if (!copy.Refused()) { // a refused copy's error box says enough
                FLog.Line(L"Прежняя база данных возвращена на место");
            }
        } else {
            LogFailure(Failure(L"Возврат прежней базы данных", kept.BackupName));
        }
    }
    return CheckStreamCopy(copy, from, to);
}

// A step line per file; a copy refused outright leaves its line unfinished and unrecorded.
TStreamCopy TInstallRun::CopyStep(const std::wstring& name, const std::wstring& from,
                                  const std::wstring& to) {
    TLogStep step = FLog.Step(L"Копирование файла " + name + L"....");
    FRecord.Expect(to);
    FRollback.BeforeReplace(to);
    const TStreamCopy copy = CopyFileByStream(from, to);
    if (!copy.Copied()) {
        FRollback.PutBack(to);
    }
    if (!copy.Refused()) {
        FRecord.Written(to);
        FLog.Finish(step, copy.Copied());
    }
    return copy;
}

bool TInstallRun::CopyFiles(const TPlanRow& row, bool stopOnFailure) {
    const std::wstring folder = To(row);
    FRecord.ExpectFolder(folder);
    FRollback.BeforeFolder(folder);
    if (!DirectoryExists(folder) && !CreateDirectoryW(folder.c_str(), nullptr)) {
        // The copies that follow show it to the user.
        LogFailure(Failure(L"Создание каталога", folder));
    }
    for (const wchar_t* name : row.Names) {
        const std::wstring from = From(row, name);
        const std::wstring to = To(row, name);
        if (!CheckStreamCopy(CopyStep(name, from, to), from, to) && stopOnFailure) {
            return false;
        }
    }
    return true;
}

void TInstallRun::CreateCounterFile(const TPlanRow& row) {
    FRollback.BeforeCreate(To(row, row.Names[0]));
    FRecord.Write({To(row, row.Names[0])}, [&] { ::CreateCounterFile(To(row)); });
}

void TInstallRun::WriteBrandFile(const TPlanRow& row) {
    const std::wstring file = To(row, row.Names[0]);
    FRollback.BeforeEdit(file);
    FRecord.Write({file}, [&] { IniWriteString(file, L"Common", L"Disk", L"I"); });
}

void TInstallRun::InstallFontsQuietly(const TPlanRow& row) {
    try {
        InstallFonts(
            From(row), WindowsFontsFolder(), [this](const std::wstring& line) { FLog.Line(line); },
            [this](const std::wstring& file, const std::wstring& value) {
                FRecord.Font(file, value);
            },
            [this](const std::wstring& file, const std::wstring& value) {
                FRollback.BeforeValue(FontsKey, value);
                FRollback.BeforeFont(file);
            });
    } catch (const EError& e) {
        // Fonts are a convenience: whatever stops them, the installation goes on.
        LogFailure(Failure(L"Установка шрифтов остановлена: " + e.Message(), {}, 0));
    } catch (...) {
        LogFailure(Failure(L"Установка шрифтов остановлена", {}, 0));
    }
}
