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

TDatabaseKeep KeepExistingDatabase(const std::wstring& targetFile, const std::wstring& sourceFile) {
    if (!FileExists(targetFile)) {
        return {TDatabaseKeep::dkNothing, L""};
    }
    if (IsSameFile(targetFile, sourceFile)) {
        return {TDatabaseKeep::dkSameFile, L""};
    }
    const size_t slash = targetFile.find_last_of(L"\\/");
    const std::wstring folder = targetFile.substr(0, slash + 1);
    const std::wstring name = targetFile.substr(slash + 1) + L"." + TimeStamp() + L".bak";
    // No replacing: an older backup of the same name is never overwritten.
    if (!MoveFileExW(targetFile.c_str(), (folder + name).c_str(), 0)) {
        return {TDatabaseKeep::dkFailed, L""};
    }
    return {TDatabaseKeep::dkRenamed, name};
}
