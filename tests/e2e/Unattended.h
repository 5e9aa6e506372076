#pragma once
#include <windows.h>

#include <functional>

#include "common/Handles.h"
#include <string>
#include <vector>

namespace e2e {

// Install.exe of a distribution folder started from C:\ (as from a shortcut elsewhere: the
// program must find its own folder) with these arguments; fails the scenario when it cannot.
struct TStarted {
    TUniqueHandle Process;
    DWORD Id = 0;
};
TStarted StartInstaller(const std::wstring& distribution, const std::wstring& arguments);

// Install.exe of a distribution copy started with a command line, as a deployment system
// starts it, and awaited. Every visible top-level window it shows meanwhile is noted; `watch`,
// when given, is called with the process id at every poll (to answer or inspect windows).
struct TSetupRun {
    DWORD ExitCode = 0;
    std::vector<std::wstring> WindowsSeen; // "class \"caption\"", each once
};
TSetupRun RunSetup(const std::wstring& distribution, const std::wstring& arguments,
                   const std::function<void(DWORD)>& watch = {});

// The lines of a log file without their time stamps; fails when the file is missing, lacks
// its byte-order mark, or holds a line without a time stamp or CR LF.
std::vector<std::wstring> ReadLogFile(const std::wstring& path);

// Whether `expected` appears in `lines` in its order (other lines may stand between).
bool ContainsInOrder(const std::vector<std::wstring>& lines,
                     const std::vector<std::wstring>& expected, std::wstring& firstMissing);

// Whether some line begins with `start`.
bool HasLineStarting(const std::vector<std::wstring>& lines, const std::wstring& start);

} // namespace e2e
