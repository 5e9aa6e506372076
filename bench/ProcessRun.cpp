#include "ProcessRun.h"

#include "BenchClock.h"
#include "common/Handles.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>

namespace {

// How often the running program is looked at: its working set grows by the copy buffer at
// most between two looks, and the looks cost it next to nothing.
constexpr DWORD SampleMs = 10;

struct TFindVisible {
    DWORD ProcessId;
    HWND Found = nullptr;
};

BOOL CALLBACK FindVisibleWindow(HWND wnd, LPARAM param) {
    auto* find = reinterpret_cast<TFindVisible*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    if (owner == find->ProcessId && IsWindowVisible(wnd)) {
        find->Found = wnd;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level window of the process, described by its class and caption; "" if none.
std::wstring VisibleWindow(DWORD processId) {
    TFindVisible find{processId};
    EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&find));
    if (!find.Found) {
        return L"";
    }
    wchar_t className[64] = L"", caption[256] = L"";
    GetClassNameW(find.Found, className, 64);
    GetWindowTextW(find.Found, caption, 256);
    return std::wstring(className) + L" \"" + caption + L"\"";
}

double PeakKiB(HANDLE process) {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (!GetProcessMemoryInfo(process, &memory, sizeof(memory))) {
        return 0;
    }
    return static_cast<double>(memory.PeakWorkingSetSize) / 1024;
}

} // namespace

TProcessRun RunProcess(const std::wstring& program, const std::wstring& commandLine,
                       double giveUpMs, bool endOnWindow) {
    std::wstring line = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    TProcessRun run;
    const double start = NowMs();
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, L"C:\\",
                        &startup, &info)) {
        return run;
    }
    run.Started = true;
    TUniqueHandle process(info.hProcess), thread(info.hThread);
    while (WaitForSingleObject(process.get(), SampleMs) == WAIT_TIMEOUT) {
        run.PeakWorkingSetKiB = std::max(run.PeakWorkingSetKiB, PeakKiB(process.get()));
        if (!run.ShowedWindow) {
            run.Window = VisibleWindow(info.dwProcessId);
            run.ShowedWindow = !run.Window.empty();
        }
        run.TimedOut = NowMs() - start > giveUpMs;
        if ((run.ShowedWindow && endOnWindow) || run.TimedOut) {
            TerminateProcess(process.get(), 1);
            WaitForSingleObject(process.get(), 10000);
            break;
        }
    }
    run.Ms = NowMs() - start;
    GetExitCodeProcess(process.get(), &run.ExitCode);
    return run;
}
