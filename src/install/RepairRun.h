#pragma once
#include "install/InstallLog.h"
#include "install/RunProgress.h"
#include "install/Rollback.h"
#include "install/RunRecord.h"
#include "install/Verify.h"

#include <string>

// Puts right what a check of the installation found, with the install run's own means: the
// distribution's files copied again as the plan's rows copy them, fonts registered, the
// shortcut and the entry made anew; the record follows every write. Nothing of the clinic's
// folders is ever written. An item that cannot be put right is logged and the rest go on, as
// the run's tree copies do. Like the run, a repair has its way back: what it replaces is moved
// aside first, a copy that fails puts the file back as it was, a repair that stops undoes itself,
// and one that is killed is undone at the next start.
class TRepairRun {
public:
    // source and target end in "\".
    TRepairRun(std::wstring source, std::wstring target, TRunProgress& progress);
    // record: the install record the check read, which the repair goes on appending to.
    void Execute(const TFindings& findings, TRecordSet record);

private:
    void Repair(const TFinding& finding);
    void CopyBack(const TFinding& finding);
    void RestoreReleaseLevel();
    void ClearReadOnly(const TFinding& finding);
    void RepairFont(const TFinding& finding);
    void RepairShortcut(const TFinding& finding);
    void Register();
    void RollBack();

    std::wstring FSource;
    std::wstring FTarget;
    TRunProgress& FProgress;
    TInstallLog FLog;
    TRunRecord FRecord;
    TRollback FRollback;
    bool FRegister = false; // the entry is to be written again
};
