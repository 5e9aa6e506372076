#include "Unattended.h"

#include <tlhelp32.h>

#include <algorithm>
#include <set>

#include "Automation.h"
#include "Files.h"
#include "Report.h"
#include "Scenario.h"
#include "common/Handles.h"

namespace e2e {
namespace {

constexpr DWORD RunTimeoutMs = 180000;

struct TWindowSearch {
    DWORD ProcessId; // 0: every process but this one, windows in Before left out
    const std::set<HWND>& Before;
    std::vector<std::wstring>& Seen;
};

BOOL CALLBACK NoteVisible(HWND wnd, LPARAM param) {
    auto& search = *reinterpret_cast<TWindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    const bool counted = search.ProcessId == 0
                             ? owner != GetCurrentProcessId() && !search.Before.contains(wnd)
                             : owner == search.ProcessId;
    if (counted && IsWindowVisible(wnd)) {
        wchar_t caption[256] = L"";
        GetWindowTextW(wnd, caption, 256);
        const std::wstring name = ClassOf(wnd) + L" \"" + caption + L"\"";
        if (std::find(search.Seen.begin(), search.Seen.end(), name) == search.Seen.end()) {
            search.Seen.push_back(name);
        }
    }
    return TRUE;
}

BOOL CALLBACK CollectWindow(HWND wnd, LPARAM param) {
    reinterpret_cast<std::set<HWND>*>(param)->insert(wnd);
    return TRUE;
}

std::set<HWND> TopLevelNow() {
    std::set<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

struct TChild {
    TUniqueHandle Process;
    std::wstring Name;
};

// The processes that parentId started and that still run.
std::vector<TChild> RunningChildren(DWORD parentId) {
    std::vector<TChild> children;
    TUniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = snapshot && Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ParentProcessID != parentId) {
            continue;
        }
        TUniqueHandle child(
            OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                        entry.th32ProcessID));
        if (child && WaitForSingleObject(child.get(), 0) == WAIT_TIMEOUT) {
            children.push_back({std::move(child), entry.szExeFile});
        }
    }
    return children;
}

// Ends a run the scenario gives up on, with the processes it started (Uninstall.exe's copy
// would otherwise hold the removal's mutex for the scenarios after it).
void EndProcessTree(const TStarted& started) {
    for (const auto& child : RunningChildren(started.Id)) {
        TerminateProcess(child.Process.get(), 99);
    }
    TerminateProcess(started.Process.get(), 99);
}

// Polls until the run ends, looking for windows at every turn; with everyProcess, also until
// the processes it started end.
TSetupRun Await(const TStarted& started, const std::wstring& what,
                const std::function<void(DWORD)>& watch, bool everyProcess) {
    const std::set<HWND> before = everyProcess ? TopLevelNow() : std::set<HWND>{};
    TSetupRun run;
    const ULONGLONG deadline = GetTickCount64() + RunTimeoutMs;
    const auto pollUntilEnd = [&](HANDLE process) {
        while (WaitForSingleObject(process, 20) == WAIT_TIMEOUT) {
            TWindowSearch search{everyProcess ? 0 : started.Id, before, run.WindowsSeen};
            EnumWindows(NoteVisible, reinterpret_cast<LPARAM>(&search));
            if (watch) {
                watch(started.Id);
            }
            if (GetTickCount64() > deadline) {
                Fail(what + L" did not end within " + std::to_wstring(RunTimeoutMs / 1000) + L" s");
            }
        }
    };
    try {
        pollUntilEnd(started.Process.get());
        GetExitCodeProcess(started.Process.get(), &run.ExitCode);
        if (everyProcess) {
            TWindowSearch search{0, before, run.ShownAtEnd};
            EnumWindows(NoteVisible, reinterpret_cast<LPARAM>(&search));
            for (const auto& child : RunningChildren(started.Id)) {
                pollUntilEnd(child.Process.get());
                run.Outlived.push_back({child.Name, 0});
                GetExitCodeProcess(child.Process.get(), &run.Outlived.back().ExitCode);
            }
        }
    } catch (...) {
        EndProcessTree(started);
        throw;
    }
    return run;
}

} // namespace

TStarted StartProcess(const wchar_t* application, std::wstring commandLine, const wchar_t* folder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    const auto start = [&] {
        return CreateProcessW(application, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              folder, &startup, &info);
    };
    if (!start()) {
        // Wine once refused to start Install.exe right after a removal had ended (not seen
        // again in many runs): the refusal is shown with its reason, and the program started a
        // second time, before the scenario fails on it.
        const std::wstring refused = L"could not start " + commandLine + L" (error " +
                                     std::to_wstring(GetLastError()) + L")";
        Print(L"    " + refused + L"; starting it again");
        Sleep(1000);
        if (!start()) {
            Fail(refused + L", nor a second time (error " + std::to_wstring(GetLastError()) + L")");
        }
    }
    TUniqueHandle thread(info.hThread);
    return {TUniqueHandle(info.hProcess), info.dwProcessId};
}

DWORD AwaitExitCode(const TStarted& started, const std::wstring& what) {
    // A guard against a hung program, not a measure.
    if (WaitForSingleObject(started.Process.get(), RunTimeoutMs) != WAIT_OBJECT_0) {
        EndProcessTree(started);
        Fail(what + L" did not end");
    }
    DWORD code = 0;
    GetExitCodeProcess(started.Process.get(), &code);
    return code;
}

TStarted StartInstaller(const std::wstring& distribution, const std::wstring& arguments) {
    const std::wstring program = distribution + L"\\Install.exe";
    return StartProcess(program.c_str(),
                        L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments));
}

TSetupRun RunSetup(const std::wstring& distribution, const std::wstring& arguments,
                   const std::function<void(DWORD)>& watch) {
    return Await(StartInstaller(distribution, arguments), L"Install.exe " + arguments, watch,
                 false);
}

TSetupRun RunCommandLine(const std::wstring& commandLine, const std::function<void(DWORD)>& watch) {
    return Await(StartProcess(nullptr, commandLine), commandLine, watch, true);
}

std::vector<std::wstring> ReadLogFile(const std::wstring& path) {
    std::string bytes;
    if (!ReadBytes(path, bytes)) {
        Fail(L"no log file " + path);
    }
    if (bytes.rfind("\xEF\xBB\xBF", 0) != 0) {
        Fail(L"log file " + path + L" does not begin with a byte-order mark");
    }
    std::vector<std::wstring> lines;
    size_t start = 3;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::wstring line = FromUtf8(bytes.substr(start, end - start));
        // "2026-12-10 14:35:12.345  text"
        if (line.size() < 25 || line[4] != L'-' || line[10] != L' ' ||
            line.substr(23, 2) != L"  ") {
            Fail(L"log line without a time stamp: \"" + Visible(line) + L"\"");
        }
        lines.push_back(line.substr(25));
    }
    if (start != bytes.size()) {
        Fail(L"log file " + path + L" ends inside a line, or has a line without CR LF");
    }
    return lines;
}

bool ContainsInOrder(const std::vector<std::wstring>& lines,
                     const std::vector<std::wstring>& expected, std::wstring& firstMissing) {
    auto at = lines.begin();
    for (const auto& line : expected) {
        at = std::find(at, lines.end(), line);
        if (at == lines.end()) {
            firstMissing = line;
            return false;
        }
        ++at;
    }
    return true;
}

bool HasLineStarting(const std::vector<std::wstring>& lines, const std::wstring& start) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::wstring& line) { return line.rfind(start, 0) == 0; });
}

void CheckNoWindow(TContext& context, const TSetupRun& run) {
    for (const auto& window : run.WindowsSeen) {
        context.Check(false, L"/VERYSILENT showed a window: " + window);
    }
}

void CheckResultLine(TContext& context, const std::vector<std::wstring>& lines, int exitCode) {
    context.Check(!lines.empty() && lines.back().starts_with(L"Итог: ") &&
                      lines.back().ends_with(L"; код завершения " + std::to_wstring(exitCode)),
                  L"the log file's last line gives the result and exit code " +
                      std::to_wstring(exitCode) + L": \"" +
                      Visible(lines.empty() ? L"" : lines.back()) + L"\"");
}

void CheckRefused(TContext& context, const std::wstring& source, const std::wstring& arguments,
                  DWORD exitCode, const std::wstring& reason) {
    const std::wstring log = L"C:\\refused.log";
    const TSetupRun run = RunSetup(source, arguments + L" /LOG=" + log);
    context.Check(run.ExitCode == exitCode, arguments + L": exit code " +
                                                std::to_wstring(exitCode) + L", not " +
                                                std::to_wstring(run.ExitCode));
    context.Check(run.WindowsSeen.empty(), arguments + L": no window");
    const auto lines = ReadLogFile(log);
    context.Check(HasLineStarting(lines, reason), arguments + L": the log says " + reason);
    CheckResultLine(context, lines, static_cast<int>(exitCode));
}

} // namespace e2e
