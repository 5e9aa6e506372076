#include "setup/HandOver.h"

#include "common/CanonicalPath.h"
#include "common/Failure.h"
#include "common/Handles.h"
#include "common/Paths.h"
#include "common/PendingDeletions.h"
#include "common/RandomName.h"
#include "common/SetupLog.h"
#include "install/InstallRecord.h"

#include <optional>

namespace {

struct THandOver {
    TUniqueHandle Parent;
    std::wstring MovedFile; // the uninstaller's file under its new name; empty when not moved
};

std::optional<THandOver>& Taken() {
    static std::optional<THandOver> handOver;
    return handOver;
}

std::wstring ProcessImage(HANDLE process) {
    wchar_t path[MAX_PATH * 2] = {};
    DWORD length = MAX_PATH * 2;
    return QueryFullProcessImageNameW(process, 0, path, &length) ? std::wstring(path, length)
                                                                 : std::wstring();
}

// The running uninstaller's file, renamed beside itself; empty when it could not be.
std::wstring MoveAside(const std::wstring& uninstaller, const std::wstring& target) {
    const std::wstring moved = target + L"Uninstall-" + RandomName() + L".tmp";
    if (!MoveFileExW(uninstaller.c_str(), moved.c_str(), 0)) {
        LogFailure(Failure(L"Программа удаления не переименована, её файл остаётся", uninstaller));
        return {};
    }
    if (MoveFileExW(moved.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
        LogLine(L"Файл " + std::wstring(UninstallerName) + L" переименован в " + moved +
                L" и удаляется по завершении работы, а если не получится, при перезагрузке");
    } else {
        LogFailure(Failure(L"Удаление при перезагрузке не назначено", moved));
    }
    return moved;
}

} // namespace

bool PrepareHandOver(DWORD parentId, const std::wstring& target) {
    const std::wstring uninstaller = target + UninstallerName;
    TUniqueHandle parent(OpenProcess(
        PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, parentId));
    if (!parent || !SamePath(CanonicalFile(ProcessImage(parent.get())), uninstaller)) {
        return false;
    }
    Taken() = THandOver{std::move(parent), MoveAside(uninstaller, target)};
    return true;
}

void CompleteHandOver(DWORD exitCode) {
    std::optional<THandOver>& handOver = Taken();
    if (!handOver) {
        return;
    }
    if (TerminateProcess(handOver->Parent.get(), exitCode)) {
        WaitForSingleObject(handOver->Parent.get(), 30000);
    }
    // Deleted now, the deletion scheduled for the restart has nothing left to do.
    if (!handOver->MovedFile.empty() && DeleteFileW(handOver->MovedFile.c_str())) {
        TPendingDeletions().Cancel(handOver->MovedFile);
    }
    handOver.reset();
}
