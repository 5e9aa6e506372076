#include "common/Reboot.h"

#include "common/Handles.h"

#include <utility>

namespace {

TExitWindowsCall& ExitWindowsCall() {
    static TExitWindowsCall call = [](UINT flags, DWORD reason) {
        return ExitWindowsEx(flags, reason);
    };
    return call;
}

bool IsNtFamily() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    return GetVersionExW(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// Failures are not reported: ExitWindowsEx then fails on its own and says so.
void EnableShutdownPrivilege() {
    TUniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                          token.put())) {
        return;
    }
    TOKEN_PRIVILEGES privileges{};
    if (!LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
        return;
    }
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    TOKEN_PRIVILEGES previous{};
    DWORD previousLength = 0;
    AdjustTokenPrivileges(token.get(), FALSE, &privileges, sizeof(previous), &previous,
                          &previousLength);
}

} // namespace

TExitWindowsCall ReplaceExitWindowsForTests(TExitWindowsCall call) {
    return std::exchange(ExitWindowsCall(), std::move(call));
}

bool RebootWindows(UINT flags) {
    if (IsNtFamily()) {
        EnableShutdownPrivilege();
    }
    return ExitWindowsCall()(flags, 0) != FALSE;
}
