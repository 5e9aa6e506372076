#include "primitives/DeleteTree.h"

#include "common/DirEnum.h"
#include "common/Failure.h"

#include <windows.h>

namespace {

bool DeleteOneFile(const std::wstring& path, DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetFileAttributesW(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    }
    return DeleteFileW(path.c_str()) || LogFailure(Failure(L"Удаление файла", path));
}

} // namespace

bool DeleteTree(const std::wstring& folder) {
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return DeleteOneFile(folder, attributes);
    }
    bool whole = true;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        const DWORD all = faAnyFile | faDirectory | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        for (const TDirEntry& entry : ListDirEntries(folder + L"\\*", all)) {
            if (IsDotEntry(entry.Name)) {
                continue;
            }
            const std::wstring path = folder + L"\\" + entry.Name;
            whole =
                (entry.IsDirectory() ? DeleteTree(path) : DeleteOneFile(path, entry.Attributes)) &&
                whole;
        }
    }
    return (RemoveDirectoryW(folder.c_str()) ||
            LogFailure(Failure(L"Удаление каталога", folder))) &&
           whole;
}
