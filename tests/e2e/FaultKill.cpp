// The program killed once the database step has finished, then started again over the same
// target: the second run completes and both earlier databases are kept.
#include <windows.h>

#include <algorithm>

#include "FaultCases.h"
#include "FaultFiles.h"
#include "FaultRun.h"
#include "Report.h"
#include "Scenario.h"
#include "Wait.h"

namespace e2e {

void KilledAndRerun(TContext& context) {
    const std::wstring dist = context.CopyDistribution();
    const std::wstring target = FreshTarget();
    const TEarlierInstall earlier = TEarlierInstall::Seed(target);
    const std::wstring finished = L"Копирование файла R47.FDB....Завершено";
    {
        TFaultInstall first(context, dist);
        first.Start(target);
        WaitFor(L"the database line to finish", [&] {
            const auto log = first.Log();
            return std::find(log.begin(), log.end(), finished) != log.end();
        });
        TUniqueHandle process(
            OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, first.Wizard().ProcessId()));
        if (!process || !TerminateProcess(process.get(), 9)) {
            Fail(L"could not kill Install.exe");
        }
        WaitForSingleObject(process.get(), 10000);
    }
    const auto afterKill = earlier.DatabaseBackups();
    context.Check(afterKill.size() == 1, L"one .bak after the first run");

    TFaultInstall second(context, dist);
    const TRunEnd end = second.Run(target);
    CheckEnd(context, end, TRunEnd::reCompleted);
    context.Check(end.LogHas(finished), L"the second run copied the database");
    const auto backups = earlier.DatabaseBackups();
    context.Check(backups.size() == 2,
                  L"two .bak files after the second run, got " + std::to_wstring(backups.size()));
    const std::string shipped = ReadBytes(dist + L"\\DTAfb\\R47.FDB");
    bool firstRunKept = false;
    for (const auto& name : backups) {
        firstRunKept = firstRunKept || ReadBytes(target + L"DTAfb\\" + name) == shipped;
    }
    context.Check(firstRunKept, L"the first run's database survives as a .bak");
    context.Check(ReadBytes(target + L"DTAfb\\R47.FDB") == shipped, L"R47.FDB is the new one");
    earlier.Check(context);
    second.CloseAndCheckExit();
}

} // namespace e2e
