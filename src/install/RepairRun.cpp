#include "install/RepairRun.h"

#include "common/Errors.h"
#include "common/Failure.h"
#include "common/Paths.h"
#include "install/BackupChoice.h"
#include "install/InstallPlan.h"
#include "install/Registration.h"
#include "install/SuiteShortcut.h"
#include "integration/FontRegistry.h"
#include "integration/Fonts.h"
#include "integration/ReleaseInfo.h"
#include "primitives/FilePrimitives.h"

#include <vector>

namespace {

using enum TFindingKind;

const TPlanRow& ReleaseLevelRow() {
    for (const TPlanRow& row : InstallPlan()) {
        if (row.Action == TPlanAction::paReleaseLevel) {
            return row;
        }
    }
    return InstallPlan().back();
}

} // namespace

TRepairRun::TRepairRun(std::wstring source, std::wstring target, TRunProgress& progress)
    : FSource(std::move(source)), FTarget(std::move(target)), FProgress(progress), FLog(progress) {}

// The record is appended to and not compacted: a later line for an item replaces the earlier,
// and a record of thousands of files is not rewritten for one.
void TRepairRun::Execute(const TFindings& findings, TRecordSet record) {
    FProgress.SetCanClose(false);
    FRollback.Begin(FTarget);
    FRollback.BeforeEdit(FTarget + InstallRecordName);
    try {
        FRecord.Continue(FTarget, std::move(record));
        // Repaired from another folder, the entry and the record name the new one.
        FRegister = !SamePath(FRecord.Entries().Source(), FSource);
        FRecord.Source(FSource);
        for (const TFinding& finding : findings) {
            try {
                Repair(finding);
            } catch (const EError& e) {
                FLog.Line(L"Ошибка: " + e.Message());
            }
            FProgress.ProcessMessages();
        }
        if (FRegister) {
            Register();
        }
        if (!FRollback.Commit()) {
            FLog.Line(L"Не всё отложенное для отмены изменений удалено; удаление закончит "
                      L"следующий запуск");
        }
    } catch (...) {
        LogFailure(Failure(L"Восстановление остановлено", FTarget, 0));
        RollBack();
    }
    FProgress.SetCanClose(true);
    FProgress.EnableExit();
}

void TRepairRun::RollBack() {
    if (!FRollback.Started()) {
        return;
    }
    FRecord.Close();
    const TLogStep step = FLog.Step(L"Отмена изменений....");
    const bool undone = FRollback.Undo([this](const std::wstring& line) { FLog.Line(line); });
    FLog.Finish(step, undone);
}

void TRepairRun::Repair(const TFinding& finding) {
    switch (finding.Kind) {
    case fkMissing:
    case fkDifferent:
    case fkUnreadable:
        CopyBack(finding);
        break;
    case fkReadOnly:
        ClearReadOnly(finding);
        break;
    case fkFontMissing:
    case fkFontUnregistered:
        RepairFont(finding);
        break;
    case fkShortcutMissing:
        RepairShortcut(finding);
        break;
    case fkEntryMissing:
    case fkEntryDiffers:
        FRegister = true;
        break;
    case fkOriginalMissing:
        FLog.Line(L"Не восстановить без файла дистрибутива: " + finding.Target);
        break;
    }
}

// As the run copies it: the distribution's bytes and write time; a file installed writable
// ends writable, whatever the distribution's medium.
void TRepairRun::CopyBack(const TFinding& finding) {
    const std::wstring& to = finding.Target;
    if (!StartsWithPath(to, FTarget) || IsKeptForClinic(to.substr(FTarget.size()))) {
        return; // the clinic's: never written, whatever a finding says
    }
    const std::wstring relative = to.substr(FTarget.size());
    const TLogStep step = FLog.Step(L"Копирование файла " + relative + L"....");
    FRollback.BeforeReplace(to);
    if (finding.Row->Action == TPlanAction::paUninstaller) {
        const bool copied = CopyFileW(finding.Original.c_str(), to.c_str(), FALSE) != FALSE;
        if (!copied) {
            LogFailure(Failure(L"Программа удаления не скопирована", to));
            FRollback.PutBack(to);
        }
        FLog.Finish(step, copied);
        SetReadOnlyAttribute(to, false);
        return;
    }
    FRecord.Expect(to);
    ForceDirectories(ExtractFileDir(to));
    SetReadOnlyAttribute(to, false); // a read-only file refuses the copy
    const TStreamCopy copy = CopyFileByStream(finding.Original, to);
    if (copy.Copied() && finding.Writable) {
        SetReadOnlyAttribute(to, false);
    }
    FRecord.Written(to);
    FLog.Finish(step, copy.Copied());
    if (!copy.Copied()) {
        FLog.Line(L"Не удалось скопировать файл " + relative + L": " + SysErrorMessage(copy.Error));
        LogFailure(Failure(L"Восстановление файла", to, copy.Error));
        FRollback.PutBack(to); // the file as it was rather than none
        return;
    }
    const TPlanRow& level = ReleaseLevelRow();
    if (SamePath(to, FTarget + level.Target + level.Names[0])) {
        RestoreReleaseLevel();
    }
}

// The level of the newest backup, as the run writes it; its script is not run again.
void TRepairRun::RestoreReleaseLevel() {
    const TPlanRow& row = ReleaseLevelRow();
    const std::wstring backupFolder = FTarget + InstallFiles::BackupFolder;
    std::vector<std::wstring> folders;
    ListSubfolders(backupFolder, folders);
    const std::wstring level = FolderName(ChooseNewestBackup(folders, backupFolder)).substr(1);
    const std::wstring file = FTarget + row.Target + row.Names[0];
    FRollback.BeforeEdit(file);
    FRecord.Write({file}, [&] { SetReleaseLevel(FTarget + row.Target, level); });
    FLog.Line(L"Уровень выпуска " + level + L" записан в " + row.Names[0]);
}

void TRepairRun::ClearReadOnly(const TFinding& finding) {
    FRollback.BeforeEdit(finding.Target);
    SetReadOnlyAttribute(finding.Target, false);
    FLog.Line(L"Снят атрибут \"только для чтения\": " + finding.Target);
}

void TRepairRun::RepairFont(const TFinding& finding) {
    const std::wstring name = ExtractFileName(finding.Target);
    FRollback.BeforeValue(FontsKey, finding.Detail);
    if (finding.Kind == fkFontMissing) {
        FRollback.BeforeFont(finding.Target);
        const TStreamCopy copy = CopyFileByStream(finding.Original, finding.Target);
        if (!copy.Copied()) {
            DeleteFileW(finding.Target.c_str()); // never half a font where Windows loads it
            FLog.Line(L"Не удалось скопировать шрифт " + finding.Target + L": " +
                      SysErrorMessage(copy.Error));
            LogFailure(Failure(L"Восстановление шрифта", finding.Target, copy.Error));
            return;
        }
    }
    RegisterFont(finding.Detail, name);
    FRecord.Font(finding.Target, finding.Detail);
    AnnounceFont(finding.Target);
    FLog.Line(L"Шрифт <" + finding.Detail + L"> восстановлен");
}

void TRepairRun::RepairShortcut(const TFinding& finding) {
    FRollback.BeforeReplace(SuiteShortcutFile(FTarget));
    const std::wstring link = CreateSuiteShortcut(FTarget);
    if (!FileExists(link)) {
        LogFailure(Failure(L"Ярлык на рабочем столе не создан", finding.Target, 0));
        FLog.Line(L"Не удалось создать ярлык " + finding.Target);
        return;
    }
    FRecord.Shortcut(link);
    FLog.Line(L"Ярлык создан: " + link);
}

// The date of the installation stays; a repair is no new one.
void TRepairRun::Register() {
    if (CheckRegistration(FTarget, FSource).State == TEntryCheck::ecOtherFolder) {
        FLog.Line(L"Запись в списке установленных программ относится к другой папке, оставлена");
        return;
    }
    FRollback.BeforeKey(RegistrationKey);
    WIN32_FILE_ATTRIBUTE_DATA uninstaller{};
    GetFileAttributesExW((FTarget + UninstallerName).c_str(), GetFileExInfoStandard, &uninstaller);
    if (WriteRegistration(FTarget, FRecord.InstalledBytes() + uninstaller.nFileSizeLow, FSource,
                          RegisteredDate())) {
        FLog.Line(L"Комплекс внесён в список установленных программ");
    } else {
        LogFailure(Failure(L"Запись в списке установленных программ", RegistrationKey));
        FLog.Line(L"Ошибка: комплекс не внесён в список установленных программ");
    }
}
