#include "install/InstallRun.h"

#include "common/Paths.h"
#include "common/SetupLog.h"
#include "install/TargetFolder.h"

namespace {

// Close requests refused and the hourglass shown while the core files go down; restored
// however the run is left.
class TBusyPart {
public:
    explicit TBusyPart(TRunProgress& progress) : FProgress(progress) {}
    TBusyPart(const TBusyPart&) = delete;
    TBusyPart& operator=(const TBusyPart&) = delete;
    ~TBusyPart() { Set(false); }

    void Set(bool busy) {
        if (busy != FBusy) {
            FBusy = busy;
            FProgress.SetCanClose(!busy);
            FProgress.SetBusyCursor(busy);
        }
    }

private:
    TRunProgress& FProgress;
    bool FBusy = false;
};

} // namespace

TInstallRun::TInstallRun(TRunChoices choices, std::wstring sourceFolder, TRunProgress& progress,
                         TRunQuestions& questions)
    : FChoices(std::move(choices)), FSource(std::move(sourceFolder)), FTarget(FChoices.Target),
      FProgress(progress), FQuestions(questions), FLog(progress) {}

TRunResult TInstallRun::Execute() {
    FProgress.ShowProgressPage();
    FProgress.ProcessMessages();
    if (!CreateFolder(FTarget, L"Каталог создан...", TargetNotMade)) {
        return TRunResult::rrTargetRefused;
    }
    FRollback.Begin(FTarget);
    TRunResult result;
    try {
        result = Walk();
    } catch (...) {
        FQuestions.ReportError();
        result = TRunResult::rrFailed;
    }
    if (result == TRunResult::rrStopped || result == TRunResult::rrFailed) {
        RollBack();
    }
    return result;
}

// The rows in order, then the entry in the list of programs; a run that gets there commits.
TRunResult TInstallRun::Walk() {
    BeginRecord();
    TBusyPart busy(FProgress);
    for (const TPlanRow& row : InstallPlan()) {
        if (!Applies(row, FChoices.Plan())) {
            continue;
        }
        if (row.Action != TPlanAction::paTree) {
            ReportTreeFailures();
        }
        busy.Set(row.Busy);
        if (!Apply(row)) {
            return TRunResult::rrStopped;
        }
    }
    ReportTreeFailures();
    Register();
    if (!FRollback.Commit()) {
        LogLine(
            L"Не всё отложенное для отмены изменений удалено; удаление закончит следующий запуск");
    }
    FProgress.EnableExit();
    Close();
    return FTreeFailed ? TRunResult::rrCopiesFailed : TRunResult::rrCompleted;
}

// After the stop has been seen: everything the run changed goes back as it was.
void TInstallRun::RollBack() {
    if (!FRollback.Started()) {
        return;
    }
    FRecord.Close();
    // After the backup script the run works from the target; a folder that is a process's
    // current one cannot be removed, and undoing a fresh target would fail.
    SetCurrentDirectoryW(TempFolder().c_str());
    TBusyPart busy(FProgress);
    busy.Set(true);
    const TLogStep step = FLog.Step(L"Отмена изменений....");
    const bool undone = FRollback.Undo([](const std::wstring& line) { LogLine(line); });
    FLog.Finish(step, undone);
}

bool TInstallRun::Apply(const TPlanRow& row) {
    switch (row.Action) {
    case TPlanAction::paUninstaller:
        CopyUninstaller();
        return true;
    case TPlanAction::paSettingsKeys:
        WriteSettingsKeys(row);
        return true;
    case TPlanAction::paReferenceFiles:
        CreateReferenceFiles(row);
        return true;
    case TPlanAction::paDatabase:
        return CopyDatabase(row);
    case TPlanAction::paFiles:
        return CopyFiles(row, true);
    case TPlanAction::paLibraries:
        return CopyFiles(row, false);
    case TPlanAction::paCounterFile:
        CreateCounterFile(row);
        return true;
    case TPlanAction::paBrandFile:
        WriteBrandFile(row);
        return true;
    case TPlanAction::paFonts:
        InstallFontsQuietly(row);
        return true;
    case TPlanAction::paDriver:
        InstallDriver(row);
        return true;
    case TPlanAction::paTree:
        CopyTree(row);
        return true;
    case TPlanAction::paReleaseLevel:
        SetNewestReleaseLevel(row);
        return true;
    case TPlanAction::paShortcut:
        CreateDesktopShortcut();
        return true;
    }
    return true;
}

std::wstring TInstallRun::From(const TPlanRow& row, const wchar_t* name) const {
    return FSource + row.Source + name;
}

std::wstring TInstallRun::To(const TPlanRow& row, const wchar_t* name) const {
    return FTarget + row.Target + name;
}
