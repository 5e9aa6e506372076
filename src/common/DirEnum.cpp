#include "common/DirEnum.h"

#include "common/Handles.h"

std::vector<TDirEntry> ListDirEntries(const std::wstring& mask, DWORD wanted) {
    constexpr DWORD filtered =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
    const DWORD excluded = filtered & ~wanted;

    std::vector<TDirEntry> entries;
    WIN32_FIND_DATAW data;
    TUniqueFind find(FindFirstFileExW(mask.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                      nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        return entries;
    }
    do {
        if ((data.dwFileAttributes & excluded) == 0) {
            entries.push_back(
                {data.cFileName, data.dwFileAttributes,
                 static_cast<unsigned long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow,
                 static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32 |
                     data.ftLastWriteTime.dwLowDateTime});
        }
    } while (FindNextFileW(find.get(), &data));
    return entries;
}
