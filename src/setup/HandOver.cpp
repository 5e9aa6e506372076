#include "setup/HandOver.h"

#include "common/CanonicalPath.h"
#include "common/Failure.h"
#include "common/Handles.h"
#include "common/Paths.h"
#include "common/PendingDeletions.h"
#include "common/RandomName.h"
#include "common/SetupLog.h"
#include "install/InstallRecord.h"
#include "primitives/FilePrimitives.h"

#include <optional>
#include <vector>

namespace {

struct THandOver {
    TUniqueHandle Parent;
    std::vector<std::wstring> MovedFiles; // uninstaller files under their new names
    std::wstring Folder;
    FILETIME FolderTime{}; // before the first rename: the renames leave no trace in it
};

FILETIME FolderWriteTime(const std::wstring& folder) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(folder.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

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
    std::optional<THandOver>& handOver = Taken();
    if (!handOver) {
        TUniqueHandle parent(OpenProcess(
            PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, parentId));
        if (!parent || !SamePath(CanonicalFile(ProcessImage(parent.get())), uninstaller)) {
            return false;
        }
        handOver = THandOver{std::move(parent), {}, target, FolderWriteTime(target)};
    }
    // Taken hold of before an interrupted run's undo put an earlier uninstaller back: that one
    // goes the same way.
    if (GetFileAttributesW(uninstaller.c_str()) != INVALID_FILE_ATTRIBUTES) {
        const std::wstring moved = MoveAside(uninstaller, target);
        if (!moved.empty()) {
            handOver->MovedFiles.push_back(moved);
        }
    }
    return true;
}

void KeepHandOverFolderTime() {
    if (Taken()) {
        Taken()->FolderTime = FolderWriteTime(Taken()->Folder);
    }
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
    bool deleted = !handOver->MovedFiles.empty();
    for (const std::wstring& moved : handOver->MovedFiles) {
        if (DeleteFileW(moved.c_str())) {
            TPendingDeletions().Cancel(moved);
        } else {
            deleted = false;
        }
    }
    if (deleted) {
        SetFolderWriteTime(handOver->Folder, handOver->FolderTime);
    }
    handOver.reset();
}
