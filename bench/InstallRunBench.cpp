#include "InstallRunBench.h"

#include "BenchClock.h"
#include "BenchTree.h"
#include "common/Errors.h"
#include "common/Handles.h"
#include "e2e/Automation.h"
#include "e2e/Scenario.h"
#include "e2e/Walks.h"
#include "e2e/Wizard.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>

namespace {

constexpr wchar_t Target[] = L"C:\\Holter";
constexpr wchar_t ReferenceTarget[] = L"C:\\bench-reference";
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

struct TRunFigures {
    double Ms;
    double PeakWorkingSetKiB;
};

TRunFigures TimeInstallRun(e2e::TContext& context, const std::wstring& distribution) {
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
    return {(asked - clicked) + (ended - answered),
            static_cast<double>(memory.PeakWorkingSetSize) / 1024};
}

double TimeReferenceCopy(const std::wstring& distribution, const std::vector<std::wstring>& files) {
    const double start = NowMs();
    if (!CopyListed(distribution, ReferenceTarget, files)) {
        throw EError(L"runbench: CopyFileW failed on a file of the distribution");
    }
    return NowMs() - start;
}

void CleanTargets() {
    RemoveTree(Target);
    RemoveTree(ReferenceTarget);
}

} // namespace

int BenchInstallRun(const std::wstring& distribution, int repetitions) {
    e2e::TContext context(distribution, L"", false);
    const std::vector<std::wstring> files = CopiedFiles(distribution);
    std::vector<double> install, reference, peak;
    try {
        // One untimed round fills the cache and installs the fonts once, so that every timed
        // run meets the same Windows folder; then the two take turns.
        for (int round = -1; round < repetitions; ++round) {
            for (int i = 0; i < 2; ++i) {
                CleanTargets();
                if ((i + round + 1) % 2 == 0) {
                    const TRunFigures run = TimeInstallRun(context, distribution);
                    if (!context.Failures().empty()) {
                        throw EError(L"runbench: " + context.Failures().front());
                    }
                    if (round >= 0) {
                        install.push_back(run.Ms);
                        peak.push_back(run.PeakWorkingSetKiB);
                    }
                } else {
                    const double ms = TimeReferenceCopy(distribution, files);
                    if (round >= 0) {
                        reference.push_back(ms);
                    }
                }
            }
        }
    } catch (const EError& e) {
        CleanTargets();
        std::fprintf(stderr, "%ls\n", e.Message().c_str());
        return 1;
    }
    CleanTargets();
    PrintFigures("run.Install", install);
    PrintFigures("run.CopyFileW", reference);
    PrintFigures("run.PeakWorkingSetKiB", peak);
    std::printf("run.files %zu\n", files.size());
    return 0;
}
