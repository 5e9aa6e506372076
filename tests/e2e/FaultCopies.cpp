// Backup and updater files that are not copied: one the earlier installation holds immutable,
// and a disk that another program fills up during the run. The run says so, names the file in
// the log file, goes on to its end and commits.
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <memory>

#include "FaultCases.h"
#include "FaultFiles.h"
#include "FaultRun.h"
#include "Files.h"
#include "Machine.h"
#include "Report.h"
#include "Scenario.h"
#include "Snapshot.h"
#include "Unattended.h"
#include "common/Errors.h"

namespace e2e {
namespace {

struct TCopyCase {
    const wchar_t* File; // relative to the target: the one file not copied
    DWORD Error;         // the system's reason
    bool FillDisk;       // on the small drive, filled before the backup copy; else immutable
};

const TCopyCase Cases[] = {
    // 0: the earlier installation's updater cannot be replaced
    {L"Updater.exe", ERROR_ACCESS_DENIED, false},
    // 1: a backup file of 1 MiB; the space check found room for it, but while the run waits
    // for the driver question another program leaves only 512 KiB
    {L"backup\\R010203\\archive.bin", ERROR_DISK_FULL, true},
};

constexpr ULONGLONG MiB = 1024 * 1024;
constexpr wchar_t NotCopied[] = L"Не удалось скопировать файлов: 1. Список в журнале установки: ";

// The fonts go to drive C:, yet the space check counts missing ones against the target's.
void InstallFontsBeforehand(const std::wstring& dist) {
    for (const auto& font : MissingFonts()) {
        CopyFileW((dist + L"\\fonts\\" + font).c_str(), (WindowsFontsFolder() + font).c_str(),
                  TRUE);
    }
}

// The earlier installation in a fresh target, with the fault in place until the guard goes.
struct TArranged {
    std::wstring Target;
    TEarlierInstall Earlier;
    std::string Kept; // the file that is not copied, as it was
    std::shared_ptr<void> Fault;
};

TArranged Arrange(const TCopyCase& c, const std::wstring& dist) {
    TArranged a;
    a.Target = c.FillDisk ? FreshFolderName(SmallDrive() + L"\\target") + L"\\" : FreshTarget();
    a.Earlier = TEarlierInstall::Seed(a.Target);
    const std::wstring path = a.Target + c.File;
    if (c.FillDisk) {
        InstallFontsBeforehand(dist);
    } else {
        WriteBytes(path, "the earlier installation's updater\n");
        a.Kept = ReadBytes(path);
        a.Fault = std::make_shared<TImmutable>(path);
    }
    return a;
}

void CheckNamed(TContext& context, const std::vector<std::wstring>& lines, const TCopyCase& c,
                const std::wstring& dist, const std::wstring& target) {
    const std::wstring from =
        c.FillDisk ? dist + L"\\backup\\R010203\\archive.bin" : dist + L"\\Updater\\Updater.exe";
    const std::wstring named = L"Файл не скопирован: " + target + c.File + L" (из " + from +
                               L"): " + SysErrorMessage(c.Error);
    std::wstring said;
    for (const auto& line : lines) {
        said += line.starts_with(L"Файл не скопирован") ? L"\n        " + line : L"";
    }
    context.Check(std::find(lines.begin(), lines.end(), named) != lines.end(),
                  L"the log file lacks \"" + named + L"\"; it says:" + said);
}

void CheckAfter(TContext& context, const TCopyCase& c, const TArranged& a) {
    const std::wstring path = a.Target + c.File;
    if (c.FillDisk) {
        context.Check(!FileExists(path), L"a half-written " + std::wstring(c.File) + L" is left");
    } else {
        context.Check(ReadBytes(path) == a.Kept, std::wstring(c.File) + L" changed");
    }
    std::string ran;
    context.Check(ReadBytes(a.Target + L"backup-ran.txt", ran) && ran.starts_with("R150320 ran"),
                  L"the newest backup's script did not run");
    a.Earlier.Check(context);
    // Committed: the rollback folder gone, no journal left for the next start.
    for (const auto& folder : FoldersBelow(a.Target)) {
        context.Check(!folder.starts_with(L".rollback-"), L"the run left " + folder);
    }
    context.Check(PendingRollbackJournal().empty(),
                  L"a journal is named for the next start: " + PendingRollbackJournal());
}

} // namespace

template <int N> void CopyNotMade(TContext& context) {
    const TCopyCase& c = Cases[N];
    const std::wstring dist = context.CopyDistribution();
    if (c.FillDisk) {
        WriteBytes(dist + L"\\backup\\R010203\\archive.bin", std::string(MiB, 'A'));
    }
    {
        // The wizard: the line ends the list, the run completes.
        const TArranged a = Arrange(c, dist);
        TFaultInstall install(context, dist);
        install.Start(a.Target);
        std::unique_ptr<TDiskFiller> filler;
        if (c.FillDisk) {
            // The run waits for the answer: the filler is in before the backup copy begins.
            install.WaitDriverQuestion();
            filler = std::make_unique<TDiskFiller>(SmallDrive() + L"\\", MiB / 2);
        }
        const TRunEnd end = install.WaitEnd();
        CheckEnd(context, end, TRunEnd::reCompleted);
        const std::wstring last = end.LastLine();
        context.Check(last.starts_with(NotCopied), L"the last line is \"" + last + L"\"");
        const std::wstring logFile =
            last.starts_with(NotCopied) ? last.substr(wcslen(NotCopied)) : L"";
        if (FileExists(logFile)) {
            CheckNamed(context, ReadLogFile(logFile), c, dist, a.Target);
        } else {
            context.Check(false, L"the log file named is not there: " + logFile);
        }
        install.CloseAndCheckExit();
        CheckAfter(context, c, a);
        if (c.FillDisk) {
            // The small drive's room is for the cases after this one.
            filler.reset();
            DeleteTree(a.Target.substr(0, a.Target.size() - 1));
            // A run without windows waits for nobody: no other program can fill the disk
            // at a known point of it.
            return;
        }
    }
    {
        // /VERYSILENT: exit code 4, the log file says which file and why.
        const TArranged a = Arrange(c, dist);
        const std::wstring log = dist + L"\\copies.log";
        // Without its trailing delimiter, which would escape the closing quote.
        const std::wstring folder = a.Target.substr(0, a.Target.size() - 1);
        const TSetupRun run = RunSetup(dist, L"/VERYSILENT \"/DIR=" + folder + L"\" /LOG=" + log);
        context.Check(run.ExitCode == 4, L"exit code 4, not " + std::to_wstring(run.ExitCode));
        const auto lines = ReadLogFile(log);
        context.Check(HasLineStarting(lines, NotCopied + log), L"the log file lacks the line");
        CheckNamed(context, lines, c, dist, a.Target);
        context.Check(!lines.empty() && lines.back() == L"Итог: установка завершена, но не все "
                                                        L"файлы скопированы; код завершения 4",
                      L"the last line is \"" + (lines.empty() ? L"" : lines.back()) + L"\"");
        CheckAfter(context, c, a);
    }
}

template void CopyNotMade<0>(TContext&);
template void CopyNotMade<1>(TContext&);

} // namespace e2e
