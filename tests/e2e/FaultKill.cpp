// The program killed in the middle of a run over an earlier installation, as a power cut would
// end it. The next start undoes what the run did before anything else: the wizard (a box, then
// the welcome page), a /VERYSILENT run, or the earlier installation's Uninstall.exe; each time
// the machine equals a snapshot taken before the killed run.
#include <windows.h>

#include <algorithm>
#include <functional>

#include "Automation.h"
#include "FaultCases.h"
#include "FaultFiles.h"
#include "FaultRun.h"
#include "Files.h"
#include "Machine.h"
#include "Removal.h"
#include "Report.h"
#include "Scenario.h"
#include "Snapshot.h"
#include "Unattended.h"
#include "Wizard.h"
#include "common/Paths.h"

namespace e2e {
namespace {

constexpr ULONGLONG MiB = 1024 * 1024;
// A guard against a hung run, not a measure.
constexpr DWORD KillPointTimeoutMs = 120000;

enum class TKillPoint { kpDatabaseCopy, kpBackupCopy, kpDriverQuestion };
enum class TNextStart { nsWizard, nsVerySilent, nsUninstall };

struct TKillCase {
    TKillPoint Point;
    const wchar_t* Large; // a distribution file made large, so that its copy is caught midway
    TNextStart Next;
    // The start of a line that the next start's log file holds; `target` ends in "\".
    std::wstring (*Undone)(const std::wstring& target);
};

const TKillCase Cases[] = {
    // 0: the clinic's database renamed to its .bak, the new one half-written
    {TKillPoint::kpDatabaseCopy, L"DTAfb\\R47.FDB", TNextStart::nsWizard,
     [](const std::wstring& t) { return L"Отменено: база данных " + t + L"DTAfb\\R47.FDB."; }},
    // 1: the earlier backup folder set aside whole, the new one half-copied
    {TKillPoint::kpBackupCopy, L"backup\\R010203\\archive.bin", TNextStart::nsVerySilent,
     [](const std::wstring& t) { return L"Отменено: возвращена папка " + t + L"backup"; }},
    // 2: the fonts installed, the driver question open
    {TKillPoint::kpDriverQuestion, nullptr, TNextStart::nsUninstall,
     [](const std::wstring&) { return std::wstring(L"Отменено: удалён шрифт "); }},
};

std::wstring UndoneText(const std::wstring& target) {
    return L"Прерванная установка в папке " + ExcludeTrailingPathDelimiter(target) +
           L" отменена: всё возвращено, как было до неё.";
}

// Polls without pause: a copy of some MiB is over in moments.
void KillWhen(TFaultInstall& install, const std::wstring& what,
              const std::function<bool()>& reached) {
    const ULONGLONG deadline = GetTickCount64() + KillPointTimeoutMs;
    while (!reached()) {
        if (GetTickCount64() > deadline) {
            Fail(L"timed out waiting for " + what + install.Wizard().Describe());
        }
        Sleep(1);
    }
    install.Kill();
}

void KillRun(TContext& context, const TKillCase& c, const std::wstring& dist,
             const std::wstring& target, const TEarlierInstall& earlier) {
    TFaultInstall install(context, dist);
    install.Start(target);
    switch (c.Point) {
    case TKillPoint::kpDatabaseCopy:
        KillWhen(install, L"the database copy", [&] {
            return !earlier.DatabaseBackups().empty() && FileExists(target + L"DTAfb\\R47.FDB");
        });
        break;
    case TKillPoint::kpBackupCopy: {
        HWND question = install.WaitDriverQuestion();
        PostMessageW(GetDlgItem(question, IDNO), BM_CLICK, 0, 0);
        // The earlier backup folder, set aside first, has no such file.
        KillWhen(install, L"the backup copy", [&] { return FileExists(target + c.Large); });
        break;
    }
    case TKillPoint::kpDriverQuestion:
        install.WaitDriverQuestion();
        context.Check(MissingFonts().empty(), L"the fonts are not in before the driver question");
        install.Kill();
        break;
    }
}

// The earlier installation's uninstaller as Programs and Features starts it: the box about the
// interrupted installation answered OK, the removal's question No.
TSetupRun StartUninstall(const std::wstring& target, const std::wstring& log, std::wstring& box) {
    std::vector<HWND> answered;
    return RunUninstall(target, L"/LOG=" + log, [&](DWORD) {
        for (HWND shown : TopLevelWindows(0, L"#32770")) {
            if (std::find(answered.begin(), answered.end(), shown) != answered.end()) {
                continue;
            }
            const std::wstring text = TextOf(GetDlgItem(shown, 0xFFFF));
            const bool question = text.starts_with(L"Удалить комплекс");
            if (!question) {
                box = text;
            }
            PostMessageW(GetDlgItem(shown, question ? IDNO : IDOK), BM_CLICK, 0, 0);
            answered.push_back(shown);
        }
    });
}

// The wizard's start after the kill, then a whole installation with it: the clinic's database
// is the only one kept as a .bak (the killed run's copy of it was undone).
void RerunWizard(TContext& context, const std::wstring& dist, const std::wstring& target,
                 const TEarlierInstall& earlier, const TSnapshot& before, const std::wstring& log) {
    std::wstring box;
    TFaultInstall next(context, dist, L"/LOG=" + log, &box);
    context.CheckEqual(box, UndoneText(target), L"the box at the wizard's start");
    next.Wizard().WaitPage(L"tsStart");
    CheckSnapshot(context, before, L"at the wizard's start: ");

    const TRunEnd end = next.Run(target);
    CheckEnd(context, end, TRunEnd::reCompleted);
    const auto backups = earlier.DatabaseBackups();
    context.Check(backups.size() == 1 &&
                      ReadBytes(target + L"DTAfb\\" + backups[0]) == earlier.Database,
                  L"the clinic's database is not the one .bak file; there are " +
                      std::to_wstring(backups.size()));
    context.Check(ReadBytes(target + L"DTAfb\\R47.FDB") == ReadBytes(dist + L"\\DTAfb\\R47.FDB"),
                  L"R47.FDB is not the new one");
    earlier.Check(context);
    next.CloseAndCheckExit();
}

} // namespace

template <int N> void KilledRun(TContext& context) {
    const TKillCase& c = Cases[N];
    const std::wstring dist = context.CopyDistribution();
    const std::wstring target = FreshTarget();
    const TEarlierInstall earlier = TEarlierInstall::Install(dist, target);
    // A newer program than the earlier installation's uninstaller (bytes after its image,
    // which the loader ignores), so that putting the uninstaller back matters.
    const std::string program = ReadBytes(dist + L"\\Install.exe");
    WriteBytes(dist + L"\\Install.exe", program + "a newer version\r\n");
    if (c.Large != nullptr) {
        WriteBytes(dist + L"\\" + c.Large, std::string(32 * MiB, 'L'));
    }
    const TSnapshot before = TakeSnapshot(target);
    KillRun(context, c, dist, target, earlier);
    const std::wstring journal = PendingRollbackJournal();
    context.Check(journal.starts_with(target + L".rollback-") && FileExists(journal),
                  L"the killed run left no journal for the next start: \"" + journal + L"\"");

    const std::wstring log = dist + L"\\next.log";
    switch (c.Next) {
    case TNextStart::nsWizard:
        RerunWizard(context, dist, target, earlier, before, log);
        break;
    case TNextStart::nsVerySilent: {
        // Refused after the undo (a drive root), so that nothing else changes the machine.
        const TSetupRun run = RunSetup(dist, L"/VERYSILENT /DIR=C:\\ /LOG=" + log);
        context.Check(run.ExitCode == 3, L"exit code 3, not " + std::to_wstring(run.ExitCode));
        CheckNoWindow(context, run);
        context.Check(HasLineStarting(ReadLogFile(log), UndoneText(target)),
                      L"the log file does not say that the interrupted installation was undone");
        CheckSnapshot(context, before, L"after /VERYSILENT: ");
        break;
    }
    case TNextStart::nsUninstall: {
        std::wstring box;
        const TSetupRun run = StartUninstall(target, log, box);
        CheckExit(context, run, 2, L"Uninstall.exe: ");
        context.CheckEqual(box, UndoneText(target), L"the box at the uninstaller's start");
        CheckSnapshot(context, before, L"after Uninstall.exe: ");
        break;
    }
    }
    const auto lines = ReadLogFile(log);
    std::wstring said;
    for (const auto& line : lines) {
        said += L"\n        " + line;
    }
    context.Check(
        HasLineStarting(lines, L"Найдена прерванная установка в папке " + target),
        L"the next start's log file does not name the interrupted installation; it says:" + said);
    context.Check(HasLineStarting(lines, c.Undone(target)), L"the next start's log file lacks \"" +
                                                                c.Undone(target) +
                                                                L"...\"; it says:" + said);
}

// A user who may write in the installation folder changes the killed run's journal to name
// another program's folder; the next start, an administrator's, deletes nothing through it,
// says so, and forgets the journal, so that the start after it goes on.
void ChangedJournal(TContext& context) {
    const std::wstring dist = context.CopyDistribution();
    const std::wstring target = FreshTarget();
    const TEarlierInstall earlier = TEarlierInstall::Install(dist, target);
    const std::wstring other = FreshFolderName(L"C:\\Другая программа");
    CreateFolders(other);
    WriteBytes(other + L"\\data.txt", "another program's data");
    KillRun(context, Cases[2], dist, target, earlier);
    const std::wstring journal = PendingRollbackJournal();
    context.Check(FileExists(journal), L"the killed run left no journal: \"" + journal + L"\"");
    WriteBytes(journal, ReadBytes(journal) + ToUtf8(L"newtree\t" + other + L"\r\n"));

    const std::wstring log = dist + L"\\next.log";
    const TSetupRun run = RunSetup(dist, L"/VERYSILENT /DIR=C:\\ /LOG=" + log);
    CheckExit(context, run, 4, L"the start after the change: ");
    CheckNoWindow(context, run);
    std::string data;
    context.Check(ReadBytes(other + L"\\data.txt", data) && data == "another program's data",
                  L"the other program's file is gone or changed");
    context.Check(HasLineStarting(ReadLogFile(log), L"Журнал прерванной установки отклонён"),
                  L"the log file does not say that the journal was refused");
    context.Check(PendingRollbackJournal().empty(), L"the refused journal is named still");
    const TSetupRun again = RunSetup(dist, L"/VERYSILENT /DIR=C:\\ /LOG=" + dist + L"\\again.log");
    CheckExit(context, again, 3, L"the start after that (a drive root): ");
    RemoveSuiteFonts();
}

template void KilledRun<0>(TContext&);
template void KilledRun<1>(TContext&);
template void KilledRun<2>(TContext&);

} // namespace e2e
