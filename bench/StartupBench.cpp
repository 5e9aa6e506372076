#include "StartupBench.h"

#include "BenchClock.h"
#include "common/Handles.h"

#include "e2e/Report.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <iterator>

namespace {

constexpr double GiveUpMs = 60000;

struct TFindMain {
    DWORD ProcessId;
    const wchar_t* ClassName;
    HWND Found = nullptr;
};

BOOL CALLBACK FindMainProc(HWND wnd, LPARAM param) {
    auto* find = reinterpret_cast<TFindMain*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    wchar_t name[64] = {};
    GetClassNameW(wnd, name, 64);
    if (pid == find->ProcessId && IsWindowVisible(wnd) && lstrcmpW(name, find->ClassName) == 0) {
        find->Found = wnd;
        return FALSE;
    }
    return TRUE;
}

HWND VisibleMain(DWORD processId, const wchar_t* className) {
    TFindMain find{processId, className};
    EnumWindows(FindMainProc, reinterpret_cast<LPARAM>(&find));
    return find.Found;
}

// A window is painted when neither it nor a visible descendant has anything left to paint.
BOOL CALLBACK ChildNeedsPaint(HWND wnd, LPARAM param) {
    if (IsWindowVisible(wnd) && GetUpdateRect(wnd, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(param) = true;
        return FALSE;
    }
    return TRUE;
}

bool Painted(HWND wnd) {
    DWORD_PTR ignored;
    if (!SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored)) {
        return false;
    }
    bool pending = GetUpdateRect(wnd, nullptr, FALSE) != FALSE;
    if (!pending) {
        EnumChildWindows(wnd, ChildNeedsPaint, reinterpret_cast<LPARAM>(&pending));
    }
    return !pending;
}

double PeakWorkingSetKiB(HANDLE process) {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(process, &memory, sizeof(memory));
    return static_cast<double>(memory.PeakWorkingSetSize) / 1024;
}

struct TStart {
    double Ms = -1;
    double PeakKiB = 0;
};

// Milliseconds from CreateProcessW to the main window shown and fully painted (-1 on failure),
// and the peak working set by then. The program is closed (or ended) afterwards.
TStart TimeOneStart(const std::wstring& program, const wchar_t* className) {
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    const double start = NowMs();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        L"C:\\", &startup, &info)) {
        return {};
    }
    TUniqueHandle process(info.hProcess), thread(info.hThread);
    TStart result;
    while (NowMs() - start < GiveUpMs) {
        HWND wnd = VisibleMain(info.dwProcessId, className);
        if (wnd && Painted(wnd)) {
            result.Ms = NowMs() - start;
            result.PeakKiB = PeakWorkingSetKiB(process.get());
            PostMessageW(wnd, WM_CLOSE, 0, 0);
            break;
        }
        Sleep(1);
    }
    if (WaitForSingleObject(process.get(), 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), 5000);
    }
    return result;
}

} // namespace

int BenchStartup(const std::wstring& install, const std::wstring& minimal,
                 const std::wstring& platform, const std::wstring& peer, int repetitions) {
    struct TContender {
        const char* Name;
        std::wstring Program;
        const wchar_t* ClassName;
        const char* PeakName;
        std::vector<double> Times, Peaks;
    } contenders[] = {
        {"startup.Install", install, L"TFMain", "startup.InstallPeakKiB", {}, {}},
        {"startup.minimal", minimal, L"TBenchMinimal", "startup.minimalPeakKiB", {}, {}},
        {"startup.platform", platform, L"TBenchMinimal", "startup.platformPeakKiB", {}, {}},
        {"startup.peer", peer, L"#32770", "startup.peerPeakKiB", {}, {}}};
    constexpr int Count = std::size(contenders);
    // One untimed round loads the programs into the cache; then they take turns.
    for (int round = -1; round < repetitions; ++round) {
        for (int i = 0; i < Count; ++i) {
            TContender& contender = contenders[(i + round + 1) % Count];
            const TStart start = TimeOneStart(contender.Program, contender.ClassName);
            if (start.Ms < 0) {
                std::fprintf(stderr, "runbench: %s did not show a painted window\n",
                             e2e::ToUtf8(contender.Program).c_str());
                return 1;
            }
            if (round >= 0) {
                contender.Times.push_back(start.Ms);
                contender.Peaks.push_back(start.PeakKiB);
            }
        }
    }
    for (const TContender& contender : contenders) {
        PrintFigures(contender.Name, contender.Times);
        PrintFigures(contender.PeakName, contender.Peaks);
    }
    return 0;
}
