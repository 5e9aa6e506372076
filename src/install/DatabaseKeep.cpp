#include "install/DatabaseKeep.h"

#include "common/Paths.h"
#include "common/Handles.h"

#include <windows.h>

static bool FileIdentity(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
    TUniqueFile file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file && GetFileInformationByHandle(file.get(), &info);
}

bool IsSameFile(const std::wstring& a, const std::wstring& b) {
    BY_HANDLE_FILE_INFORMATION infoA{}, infoB{};
    return FileIdentity(a, infoA) && FileIdentity(b, infoB) &&
           infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
           infoA.nFileIndexHigh == infoB.nFileIndexHigh &&
           infoA.nFileIndexLow == infoB.nFileIndexLow;
}

static std::wstring TimeStamp() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t text[32];
    wsprintfW(text, L"%04u%02u%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
              now.wMinute, now.wSecond);
    return text;
}

static std::wstring FolderOf(const std::wstring& file) {
    return file.substr(0, file.find_last_of(L"\\/") + 1);
}

TDatabaseKeep KeepExistingDatabase(const std::wstring& targetFile, const std::wstring& sourceFile) {
    if (!FileExists(targetFile)) {
        return {TDatabaseKeep::dkNothing, L""};
    }
    if (IsSameFile(targetFile, sourceFile)) {
        return {TDatabaseKeep::dkSameFile, L""};
    }
    const std::wstring folder = FolderOf(targetFile);
    const std::wstring stem = targetFile.substr(folder.size()) + L"." + TimeStamp();
    // No replacing: an older backup is never overwritten. Two runs within one second (one
    // killed, the next started at once) get a numbered name instead of failing.
    for (int attempt = 1;; ++attempt) {
        const std::wstring name =
            stem + (attempt == 1 ? L"" : L"-" + std::to_wstring(attempt)) + L".bak";
        if (MoveFileExW(targetFile.c_str(), (folder + name).c_str(), 0)) {
            return {TDatabaseKeep::dkRenamed, name};
        }
        const DWORD error = GetLastError();
        if ((error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) || attempt == 99) {
            return {TDatabaseKeep::dkFailed, L"", error};
        }
    }
}

bool RestoreDatabase(const std::wstring& targetFile, const TDatabaseKeep& kept) {
    if (kept.Outcome != TDatabaseKeep::dkRenamed) {
        return false;
    }
    DeleteFileW(targetFile.c_str());
    const std::wstring backup = FolderOf(targetFile) + kept.BackupName;
    return MoveFileExW(backup.c_str(), targetFile.c_str(), 0) != 0;
}
