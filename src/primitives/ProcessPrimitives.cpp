#include "primitives/ProcessPrimitives.h"

#include "common/Errors.h"
#include "common/Handles.h"
#include "common/Paths.h"

#include <optional>

namespace {
// CreateProcessW's limit, terminator excluded.
constexpr size_t MaxCommandLine = 32767;

struct TStartedProcess {
    TUniqueHandle Process;
    TUniqueHandle Thread;
};

std::optional<TStartedProcess> StartProcess(std::wstring commandLine, WORD showWindow,
                                            const wchar_t* directory) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showWindow;
    PROCESS_INFORMATION info{};
    // CreateProcessW may write into the command line: it gets our own copy.
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, directory, &startup,
                        &info)) {
        return std::nullopt;
    }
    return TStartedProcess{TUniqueHandle(info.hProcess), TUniqueHandle(info.hThread)};
}
} // namespace

DWORD RunAndWait(const std::wstring& program, const std::wstring& parameters, WORD showWindow) {
    // Quoted, or a blank in the path would let the system start some other program.
    const std::wstring commandLine = L"\"" + program + L"\" " + parameters;
    if (commandLine.size() > MaxCommandLine) {
        throw EError(L"Слишком длинная командная строка: " + program);
    }
    const std::wstring directory = ExtractFileDir(program);
    const auto started =
        StartProcess(commandLine, showWindow, directory.empty() ? nullptr : directory.c_str());
    if (!started) {
        throw EError(L"Не смог создать процесс: " + program);
    }
    DWORD waited = WAIT_TIMEOUT;
    do {
        waited = WaitForSingleObject(started->Process.get(), 100);
    } while (waited == WAIT_TIMEOUT);
    if (waited == WAIT_FAILED) {
        RaiseLastOSError(L"Ошибка ожидания процесса " + program);
    }
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(started->Process.get(), &exitCode)) {
        RaiseLastOSError(L"Ошибка ожидания процесса " + program);
    }
    return exitCode;
}

int RunInCurrentDirAndWait(const std::wstring& commandLine, WORD showWindow, bool wait) {
    if (commandLine.size() > MaxCommandLine) {
        return -1;
    }
    const auto started = StartProcess(commandLine, showWindow, nullptr);
    if (!started) {
        return -1;
    }
    if (!wait) {
        return 0;
    }
    WaitForSingleObject(started->Process.get(), INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(started->Process.get(), &exitCode);
    return static_cast<int>(exitCode);
}
