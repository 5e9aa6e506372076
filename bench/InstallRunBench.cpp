#include "InstallRunBench.h"

#include "BenchClock.h"
#include "BenchTree.h"
#include "ProcessRun.h"
#include "common/Errors.h"
#include "common/Handles.h"
#include "e2e/Automation.h"
#include "e2e/Files.h"
#include "e2e/Report.h"
#include "e2e/Scenario.h"
#include "e2e/Walks.h"
#include "e2e/Wizard.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <functional>
#include <utility>

namespace {

constexpr wchar_t Target[] = L"C:\\Holter";
constexpr wchar_t ReferenceTarget[] = L"C:\\bench-reference";
constexpr wchar_t PeerTarget[] = L"C:\\bench-peer";
constexpr wchar_t SilentLog[] = L"C:\\bench-silent.log";
constexpr wchar_t DriverQuestion[] = L"#32770";
constexpr double GiveUpMs = 300000;

// The distribution's files that the run copies (list A of the runtime files, the driver
// installer left out as the driver question is answered No); fonts included, as the run
// copies them into the Windows folder.
std::vector<std::wstring> CopiedFiles(const std::wstring& distribution) {
    std::vector<std::wstring> files;
    for (const wchar_t* folder : {L"DTAfb", L"Firebird", L"UDF", L"fonts", L"backup", L"Updater"}) {
        ListTree(distribution, folder, files);
    }
    std::erase_if(files, [](const std::wstring& file) {
        return file == L"Firebird\\msvcp71.Dll" || file == L"Firebird\\msvcr71.Dll";
    });
    return files;
}

template <typename Probe> void Await(const char* what, Probe probe) {
    const double start = NowMs();
    while (!probe()) {
        if (NowMs() - start > GiveUpMs) {
            throw EError(L"runbench: gave up waiting for " +
                         std::wstring(what, what + strlen(what)));
        }
        Sleep(1);
    }
}

long long FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return -1;
    }
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Every listed file arrived whole: what a run reports as done must have been done.
void CheckCopied(const std::wstring& who, const std::wstring& distribution,
                 const std::wstring& target, const std::vector<std::wstring>& files) {
    for (const std::wstring& file : files) {
        if (FileSize(target + L"\\" + file) != FileSize(distribution + L"\\" + file)) {
            throw EError(L"runbench: " + who + L" did not install " + file + L" whole");
        }
    }
}

struct TFigures {
    double Ms;
    double PeakWorkingSetKiB;
    bool ShowedWindow = false;
};

TFigures TimeWizardRun(e2e::TContext& context, const std::wstring& distribution) {
    e2e::TWizard wizard(context, distribution);
    e2e::WalkToOptions(wizard, context);
    HWND start = wizard.Control(L"BUTTON", L"Начать установку");
    const double clicked = NowMs();
    e2e::Click(start, wizard.Main());
    HWND box = nullptr;
    Await("the driver question",
          [&] { return (box = e2e::FindTopLevel(wizard.ProcessId(), DriverQuestion)) != nullptr; });
    const double asked = NowMs();
    HWND no = GetDlgItem(box, IDNO);
    const double answered = NowMs();
    PostMessageW(no, BM_CLICK, 0, 0);
    Await("the font-size page", [&] { return wizard.VisiblePage() == L"tsChangeFontSize"; });
    const double ended = NowMs();

    TUniqueHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, wizard.ProcessId()));
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(process.get(), &memory, sizeof(memory));
    PostMessageW(wizard.Main(), WM_CLOSE, 0, 0);
    wizard.WaitExit(20000);
    if (!context.Failures().empty()) {
        throw EError(L"runbench: " + context.Failures().front());
    }
    return {(asked - clicked) + (ended - answered),
            static_cast<double>(memory.PeakWorkingSetSize) / 1024};
}

// The end of the silent run's log file, for the message that leaves the run out.
std::wstring LogTail() {
    std::string bytes;
    if (!e2e::ReadBytes(SilentLog, bytes)) {
        return L"(no log file)";
    }
    bytes = bytes.substr(bytes.size() > 1500 ? bytes.size() - 1500 : 0);
    std::wstring text(bytes.size(), L'\0');
    text.resize(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                    text.data(), static_cast<int>(text.size())));
    return text;
}

// A program that asks nothing, run to its end; fails unless it exited with 0 (and, when
// windowless, showed no window).
TFigures TimeQuietRun(const std::wstring& who, const std::wstring& program,
                      const std::wstring& arguments, bool windowless) {
    const TProcessRun run =
        RunProcess(program, L"\"" + program + L"\" " + arguments, GiveUpMs, windowless);
    if (!run.Started) {
        throw EError(L"runbench: cannot start " + program);
    }
    if ((run.ShowedWindow && windowless) || run.TimedOut || run.ExitCode != 0) {
        throw EError(L"runbench: " + who + L" " + arguments +
                     (run.ShowedWindow ? L" showed a window, " + run.Window
                      : run.TimedOut   ? L" did not end"
                                       : L" exited with code " + std::to_wstring(run.ExitCode)));
    }
    return {run.Ms, run.PeakWorkingSetKiB, run.ShowedWindow};
}

TFigures TimeSilentRun(const std::wstring& distribution) {
    const std::wstring arguments =
        std::wstring(L"/VERYSILENT /DIR=") + Target + L" /LOG=" + SilentLog;
    TFigures figures;
    try {
        figures = TimeQuietRun(L"Install.exe", distribution + L"\\Install.exe", arguments, true);
    } catch (const EError& e) {
        throw EError(e.Message() + L"; the end of its log:\n" + LogTail());
    }
    const std::wstring database = L"DTAfb\\R47.FDB";
    if (FileSize(std::wstring(Target) + L"\\" + database) !=
        FileSize(distribution + L"\\" + database)) {
        throw EError(L"runbench: Install.exe /VERYSILENT did not install the database whole");
    }
    return figures;
}

// Each timed run starts on a settled disk: what the run before it wrote is on the disk, not
// still being written back while this one copies. The run before is usually deleted before it
// is written back, but not the installation a reinstall goes over, which would otherwise pay
// for writing it twice. The host's sync, through its shell: Wine starts a Unix program as it
// starts any other but gives no handle to wait on, so the shell leaves a mark when sync is done.
void SettleDisk() {
    const std::wstring mark = L"/tmp/runbench-synced-" + std::to_wstring(GetCurrentProcessId());
    std::wstring seen = L"Z:" + mark;
    std::replace(seen.begin(), seen.end(), L'/', L'\\');
    DeleteFileW(seen.c_str());
    std::wstring command = L"Z:\\bin\\sh -c \"sync && : > " + mark + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        throw EError(L"runbench: cannot start the host's sync");
    }
    const TUniqueHandle owned(process.hProcess), thread(process.hThread);
    // A guard against a hung disk, not a measure.
    const ULONGLONG deadline = GetTickCount64() + 600000;
    while (GetFileAttributesW(seen.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount64() > deadline) {
            throw EError(L"runbench: the host's sync did not finish");
        }
        Sleep(10);
    }
    DeleteFileW(seen.c_str());
}

// The same silent run over the installation it has just made, as it would lie on a clinic's
// disk: every file replaced, each one first moved aside for the rollback and deleted at the end.
TFigures TimeSilentReinstall(const std::wstring& distribution) {
    TimeSilentRun(distribution);
    SettleDisk();
    return TimeSilentRun(distribution);
}

TFigures TimePeerRun(const std::wstring& peer, const std::wstring& distribution,
                     const std::vector<std::wstring>& files) {
    // NSIS shows its "verifying installer" window while it checks a large installer's CRC,
    // /S or not: the peer is not held to showing none.
    const TFigures figures =
        TimeQuietRun(L"the peer installer", peer, std::wstring(L"/S /D=") + PeerTarget, false);
    CheckCopied(L"the peer installer", distribution, PeerTarget, files);
    return figures;
}

TFigures TimeReferenceCopy(const std::wstring& distribution,
                           const std::vector<std::wstring>& files) {
    const double start = NowMs();
    if (!CopyListed(distribution, ReferenceTarget, files)) {
        throw EError(L"runbench: CopyFileW failed on a file of the distribution");
    }
    return {NowMs() - start, 0};
}

void CleanTargets() {
    for (const wchar_t* folder : {Target, ReferenceTarget, PeerTarget}) {
        RemoveTree(folder);
    }
    DeleteFileW(SilentLog);
}

struct TContender {
    TContender(const char* name, const char* peakName, std::function<TFigures()> run,
               bool mayBeLeftOut = false)
        : Name(name), PeakName(peakName), Run(std::move(run)), MayBeLeftOut(mayBeLeftOut) {}

    const char* Name;
    const char* PeakName; // nullptr: not a program of its own
    std::function<TFigures()> Run;
    bool MayBeLeftOut;
    bool LeftOut = false;
    std::vector<double> Times, Peaks;
    int RunsWithWindow = 0;
};

} // namespace

int BenchInstallRun(const std::wstring& distribution, const std::wstring& peerCopy,
                    const std::wstring& peerEmbedded, int repetitions) {
    e2e::TContext context(distribution, L"", false);
    const std::vector<std::wstring> files = CopiedFiles(distribution);
    TContender contenders[] = {
        {"run.Install", "run.PeakWorkingSetKiB",
         [&] { return TimeWizardRun(context, distribution); }},
        {"run.Silent", "run.SilentPeakKiB", [&] { return TimeSilentRun(distribution); }, true},
        {"run.Reinstall", nullptr, [&] { return TimeSilentReinstall(distribution); }, true},
        {"run.CopyFileW", nullptr, [&] { return TimeReferenceCopy(distribution, files); }},
        {"run.PeerCopy", "run.PeerCopyPeakKiB",
         [&] { return TimePeerRun(peerCopy, distribution, files); }},
        {"run.PeerEmbedded", "run.PeerEmbeddedPeakKiB",
         [&] { return TimePeerRun(peerEmbedded, distribution, files); }},
    };
    constexpr int Count = std::size(contenders);
    try {
        // One untimed round fills the cache and installs the fonts once, so that every timed
        // run meets the same Windows folder; then they take turns, each round starting with
        // the next one.
        for (int round = -1; round < repetitions; ++round) {
            for (int i = 0; i < Count; ++i) {
                TContender& contender = contenders[(i + round + 1) % Count];
                if (contender.LeftOut) {
                    continue;
                }
                CleanTargets();
                SettleDisk();
                try {
                    const TFigures figures = contender.Run();
                    if (round >= 0) {
                        contender.Times.push_back(figures.Ms);
                        contender.Peaks.push_back(figures.PeakWorkingSetKiB);
                        contender.RunsWithWindow += figures.ShowedWindow ? 1 : 0;
                    }
                } catch (const EError& e) {
                    if (!contender.MayBeLeftOut) {
                        throw;
                    }
                    std::fprintf(stderr, "runbench: %s left out: %s\n", contender.Name,
                                 e2e::ToUtf8(e.Message()).c_str());
                    contender.LeftOut = true;
                }
            }
        }
    } catch (const EError& e) {
        CleanTargets();
        std::fprintf(stderr, "%s\n", e2e::ToUtf8(e.Message()).c_str());
        return 1;
    }
    CleanTargets();
    for (const TContender& contender : contenders) {
        if (contender.LeftOut) {
            continue;
        }
        PrintFigures(contender.Name, contender.Times);
        if (contender.PeakName) {
            PrintFigures(contender.PeakName, contender.Peaks);
            if (contender.RunsWithWindow > 0) {
                std::printf("%s.RunsShowingAWindow %d\n", contender.Name, contender.RunsWithWindow);
            }
        }
    }
    std::printf("run.files %zu\n", files.size());
    return 0;
}
