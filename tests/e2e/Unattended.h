#pragma once
#include <windows.h>

#include <functional>

#include "common/Handles.h"
#include <string>
#include <vector>

namespace e2e {

class TContext;

// Install.exe of a distribution folder started from C:\ (as from a shortcut elsewhere: the
// program must find its own folder) with these arguments; fails the scenario when it cannot.
struct TStarted {
    TUniqueHandle Process;
    DWORD Id = 0;
};
TStarted StartInstaller(const std::wstring& distribution, const std::wstring& arguments);

// A program started from `folder` as a script starts it; fails the scenario with the system's
// reason when it cannot be started.
TStarted StartProcess(const wchar_t* application, std::wstring commandLine,
                      const wchar_t* folder = L"C:\\");

// Its exit code alone, awaited; a hung program is ended and fails the scenario.
DWORD AwaitExitCode(const TStarted& started, const std::wstring& what);

// Install.exe of a distribution copy started with a command line, as a deployment system
// starts it, and awaited. Every visible top-level window it shows meanwhile is noted; `watch`,
// when given, is called with the process id at every poll (to answer or inspect windows).
struct TSetupRun {
    DWORD ExitCode = 0;
    std::vector<std::wstring> WindowsSeen; // "class \"caption\"", each once
    // RunCommandLine only: the programs it started that still ran when it ended (awaited as
    // well), with their exit codes, and the windows still showing at that moment.
    struct TOutlived {
        std::wstring Name;
        DWORD ExitCode = 0;
    };
    std::vector<TOutlived> Outlived;
    std::vector<std::wstring> ShownAtEnd;
};
TSetupRun RunSetup(const std::wstring& distribution, const std::wstring& arguments,
                   const std::function<void(DWORD)>& watch = {});

// The same for a whole command line, started as given (CreateProcessW without an application
// name, as a deployment system runs a registered command). The windows noted are those of
// every process that were not there at the start: Uninstall.exe hands its work to a copy of
// itself. A run that fails or hangs is ended together with the processes it started.
TSetupRun RunCommandLine(const std::wstring& commandLine,
                         const std::function<void(DWORD)>& watch = {});

// The lines of a log file without their time stamps; fails when the file is missing, lacks
// its byte-order mark, or holds a line without a time stamp or CR LF.
std::vector<std::wstring> ReadLogFile(const std::wstring& path);

// Whether `expected` appears in `lines` in its order (other lines may stand between).
bool ContainsInOrder(const std::vector<std::wstring>& lines,
                     const std::vector<std::wstring>& expected, std::wstring& firstMissing);

// Whether some line begins with `start`.
bool HasLineStarting(const std::vector<std::wstring>& lines, const std::wstring& start);

// A /VERYSILENT run showed no window.
void CheckNoWindow(TContext& context, const TSetupRun& run);

// The log file's last line: "Итог: ...; код завершения <exitCode>".
void CheckResultLine(TContext& context, const std::vector<std::wstring>& lines, int exitCode);

// A run of the distribution's Install.exe refused before it changes anything: its exit code,
// no window, the reason at the start of a line of its log file.
void CheckRefused(TContext& context, const std::wstring& source, const std::wstring& arguments,
                  DWORD exitCode, const std::wstring& reason);

} // namespace e2e
