#pragma once
#include "install/InstallLog.h"
#include "install/RunProgress.h"
#include "install/RunRecord.h"
#include "install/Verify.h"

#include <string>

// Puts right what a check of the installation found, with the install run's own means: the
// distribution's files copied again as the plan's rows copy them, fonts registered, the
// shortcut and the entry made anew; the record follows every write. Nothing of the clinic's
// folders is ever written. An item that cannot be put right is logged and the rest go on.
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

    std::wstring FSource;
    std::wstring FTarget;
    TRunProgress& FProgress;
    TInstallLog FLog;
    TRunRecord FRecord;
    bool FRegister = false; // the entry is to be written again
};
