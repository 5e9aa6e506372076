// A run that stops while another program holds a file the run laid down: its rollback cannot
// put that file back, says so and keeps its journal; once the file is free, the next start
// finishes the rollback.
#include <windows.h>

#include "FaultCases.h"
#include "FaultFiles.h"
#include "FaultRun.h"
#include "Files.h"
#include "Scenario.h"
#include "Snapshot.h"
#include "Unattended.h"
#include "Wizard.h"
#include "common/Paths.h"

namespace e2e {

void HeldDuringUndo(TContext& context) {
    const std::wstring dist = context.CopyDistribution();
    const std::wstring target = FreshTarget();
    TEarlierInstall::Install(dist, target);
    // A newer client library than the earlier installation's, so that putting it back matters.
    WriteBytes(dist + L"\\Firebird\\fbclient.Dll", "a newer client library\r\n");
    // No ReleaseInfo anywhere: the run stops late, with nearly everything to undo.
    DeleteFileW((dist + L"\\Updater\\ReleaseInfo").c_str());
    DeleteFileW((target + L"ReleaseInfo").c_str());
    const TSnapshot before = TakeSnapshot(target);
    const std::wstring held = target + L"fbclient.Dll";
    const std::wstring log = dist + L"\\stopped.log";
    {
        TFaultInstall install(context, dist, L"/LOG=" + log);
        install.Start(target);
        install.WaitDriverQuestion();
        // The database server starts meanwhile and takes the client library the run laid down.
        const TUniqueFile server = HoldExclusive(held);
        const TRunEnd end = install.WaitEnd();
        CheckEnd(context, end, TRunEnd::reErrorBox, L"Release info file does not exist.");
        context.CheckEqual(end.Undo, L"Отмена изменений....ОШИБКА!!!", L"the rollback's line");
        install.CloseAndCheckExit();
    }
    const auto lines = ReadLogFile(log);
    context.Check(HasLineStarting(lines, L"Не удалось отменить: файл " + held + L": "),
                  L"the log file does not name " + held);
    const std::wstring journal = PendingRollbackJournal();
    context.Check(journal.starts_with(target + L".rollback-") && FileExists(journal),
                  L"the journal did not stay for the next start: \"" + journal + L"\"");

    // The server has stopped: the next start finishes the rollback, then shows its first page.
    std::wstring box;
    const std::wstring nextLog = dist + L"\\next.log";
    TFaultInstall next(context, dist, L"/LOG=" + nextLog, &box);
    context.CheckEqual(box,
                       L"Прерванная установка в папке " + ExcludeTrailingPathDelimiter(target) +
                           L" отменена: всё возвращено, как было до неё.",
                       L"the box at the next start");
    next.Wizard().WaitPage(L"tsStart");
    CheckSnapshot(context, before, L"after the next start: ", {L"backup-ran.txt"});
    next.CloseAndCheckExit();
    context.Check(HasLineStarting(ReadLogFile(nextLog), L"Отменено: возвращён файл " + held),
                  L"the next start's log file does not say that " + held + L" is back");
}

} // namespace e2e
