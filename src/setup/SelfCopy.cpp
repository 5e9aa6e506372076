#include "setup/SelfCopy.h"

#include "common/Errors.h"
#include "common/Handles.h"
#include "common/Paths.h"
#include "install/InstallRecord.h"

namespace {

// A name no other removal uses at the same time.
std::wstring CopyName() {
    return TempFolder() + L"Sontira-Uninstall-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetTickCount()) + L".exe";
}

std::wstring ProcessImage(HANDLE process) {
    wchar_t path[MAX_PATH * 2] = {};
    DWORD length = MAX_PATH * 2;
    return QueryFullProcessImageNameW(process, 0, path, &length) ? std::wstring(path, length)
                                                                 : std::wstring();
}

} // namespace

bool RunsFromUninstaller(const std::wstring& target) {
    return SamePath(ExecutablePath(), target + UninstallerName);
}

TCopyRun ContinueFromCopy(const std::wstring& arguments) {
    TCopyRun run;
    const std::wstring copy = CopyName();
    if (!CopyFileW(ExecutablePath().c_str(), copy.c_str(), TRUE)) {
        run.Error = copy + L": " + SysErrorMessage(GetLastError());
        return run;
    }
    // Scheduled before it starts: whatever happens to the copy, it does not stay.
    MoveFileExW(copy.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    std::wstring commandLine =
        L"\"" + copy + L"\" " + arguments + L" /PARENT=" + std::to_wstring(GetCurrentProcessId());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        TempFolder().c_str(), &startup, &started)) {
        run.Error = copy + L": " + SysErrorMessage(GetLastError());
        DeleteFileW(copy.c_str());
        return run;
    }
    const TUniqueHandle process(started.hProcess);
    const TUniqueHandle thread(started.hThread);
    WaitForSingleObject(process.get(), INFINITE);
    run.Started = true;
    GetExitCodeProcess(process.get(), &run.ExitCode);
    return run;
}

bool ReleaseParent(DWORD parentId, const std::wstring& target, DWORD exitCode) {
    const TUniqueHandle parent(OpenProcess(
        PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, parentId));
    if (!parent || !SamePath(ProcessImage(parent.get()), target + UninstallerName)) {
        return false;
    }
    return TerminateProcess(parent.get(), exitCode) &&
           WaitForSingleObject(parent.get(), 30000) == WAIT_OBJECT_0;
}
