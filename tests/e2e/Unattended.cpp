#include "Unattended.h"

#include <algorithm>

#include "Automation.h"
#include "Files.h"
#include "Report.h"
#include "common/Handles.h"

namespace e2e {
namespace {

constexpr DWORD RunTimeoutMs = 180000;

struct TWindowSearch {
    DWORD ProcessId;
    std::vector<std::wstring>& Seen;
};

BOOL CALLBACK NoteVisible(HWND wnd, LPARAM param) {
    auto& search = *reinterpret_cast<TWindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    if (owner == search.ProcessId && IsWindowVisible(wnd)) {
        wchar_t caption[256] = L"";
        GetWindowTextW(wnd, caption, 256);
        const std::wstring name = ClassOf(wnd) + L" \"" + caption + L"\"";
        if (std::find(search.Seen.begin(), search.Seen.end(), name) == search.Seen.end()) {
            search.Seen.push_back(name);
        }
    }
    return TRUE;
}

} // namespace

TStarted StartInstaller(const std::wstring& distribution, const std::wstring& arguments) {
    const std::wstring program = distribution + L"\\Install.exe";
    std::wstring commandLine =
        L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        L"C:\\", &startup, &info)) {
        Fail(L"could not start " + commandLine);
    }
    TUniqueHandle thread(info.hThread);
    return {TUniqueHandle(info.hProcess), info.dwProcessId};
}

TSetupRun RunSetup(const std::wstring& distribution, const std::wstring& arguments,
                   const std::function<void(DWORD)>& watch) {
    const TStarted started = StartInstaller(distribution, arguments);
    const TUniqueHandle& process = started.Process;
    TSetupRun run;
    const ULONGLONG deadline = GetTickCount64() + RunTimeoutMs;
    // Poll until it ends, looking for windows at every turn.
    while (WaitForSingleObject(process.get(), 20) == WAIT_TIMEOUT) {
        TWindowSearch search{started.Id, run.WindowsSeen};
        EnumWindows(NoteVisible, reinterpret_cast<LPARAM>(&search));
        if (watch) {
            watch(started.Id);
        }
        if (GetTickCount64() > deadline) {
            TerminateProcess(process.get(), 99);
            Fail(L"Install.exe " + arguments + L" did not end within " +
                 std::to_wstring(RunTimeoutMs / 1000) + L" s");
        }
    }
    GetExitCodeProcess(process.get(), &run.ExitCode);
    return run;
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

} // namespace e2e
