#include "setup/SelfCopy.h"

#include "common/CanonicalPath.h"
#include "common/Errors.h"
#include "common/Handles.h"
#include "common/Paths.h"
#include "common/PendingDeletions.h"
#include "common/RandomName.h"
#include "common/StartFolder.h"
#include "install/InstallRecord.h"

namespace {

// A folder of the copy's own in the temporary folder, or why there is none. Made here, and
// refused if it is there already: then someone else made it.
std::wstring MakeCopyFolder(std::wstring& error) {
    const std::wstring name = RandomName();
    const std::wstring folder = TempFolder() + L"Sontira-Uninstall-" + name;
    if (name.empty() || TempFolder().empty() || !CreateDirectoryW(folder.c_str(), nullptr)) {
        error = folder + L": " + SysErrorMessage(GetLastError());
        return {};
    }
    return folder;
}

// A copy that ended by itself no longer holds its file: it goes now, with its folder.
void RemoveCopy(const std::wstring& copy, const std::wstring& folder) {
    if (DeleteFileW(copy.c_str()) && RemoveDirectoryW(folder.c_str())) {
        TPendingDeletions pending;
        pending.Cancel(copy);
        pending.Cancel(folder);
    }
}

} // namespace

bool RunsFromUninstaller(const std::wstring& target) {
    return SamePath(CanonicalFile(ExecutablePath()), target + UninstallerName);
}

TCopyRun ContinueFromCopy(const std::wstring& arguments) {
    TCopyRun run;
    const std::wstring folder = MakeCopyFolder(run.Error);
    if (folder.empty()) {
        return run;
    }
    const std::wstring copy = folder + L"\\Sontira-Uninstall.exe";
    if (!CopyFileW(ExecutablePath().c_str(), copy.c_str(), TRUE)) {
        run.Error = copy + L": " + SysErrorMessage(GetLastError());
        RemoveDirectoryW(folder.c_str());
        return run;
    }
    // Scheduled before it starts: whatever happens to the copy, it does not stay.
    MoveFileExW(copy.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    MoveFileExW(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    std::wstring commandLine =
        L"\"" + copy + L"\" " + arguments + L" /PARENT=" + std::to_wstring(GetCurrentProcessId());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    // Started where this program was, so that a relative /LOG means the same file to it.
    const std::wstring startFolder = StartFolder().empty() ? TempFolder() : StartFolder();
    if (!CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        startFolder.c_str(), &startup, &started)) {
        run.Error = copy + L": " + SysErrorMessage(GetLastError());
        RemoveCopy(copy, folder);
        return run;
    }
    const TUniqueHandle process(started.hProcess);
    const TUniqueHandle thread(started.hThread);
    WaitForSingleObject(process.get(), INFINITE);
    run.Started = true;
    GetExitCodeProcess(process.get(), &run.ExitCode);
    RemoveCopy(copy, folder);
    return run;
}
