#include "BenchTree.h"

#include "common/DirEnum.h"
#include "common/Paths.h"

#include <windows.h>

void ListTree(const std::wstring& root, const std::wstring& folder,
              std::vector<std::wstring>& files) {
    const std::wstring path = root + L"\\" + folder;
    for (const TDirEntry& entry : ListDirEntries(path + L"\\*", faAnyFile | faDirectory)) {
        if (IsDotEntry(entry.Name)) {
            continue;
        }
        if (entry.IsDirectory()) {
            ListTree(root, folder + L"\\" + entry.Name, files);
        } else {
            files.push_back(folder + L"\\" + entry.Name);
        }
    }
}

bool CopyListed(const std::wstring& sourceRoot, const std::wstring& targetRoot,
                const std::vector<std::wstring>& files) {
    bool ok = true;
    std::wstring madeFolder;
    for (const std::wstring& file : files) {
        const std::wstring folder = targetRoot + L"\\" + file.substr(0, file.rfind(L'\\'));
        if (folder != madeFolder) {
            ForceDirectories(folder);
            madeFolder = folder;
        }
        ok = CopyFileW((sourceRoot + L"\\" + file).c_str(), (targetRoot + L"\\" + file).c_str(),
                       FALSE) &&
             ok;
    }
    return ok;
}

void RemoveTree(const std::wstring& folder) {
    for (const TDirEntry& entry : ListDirEntries(folder + L"\\*", faAnyFile | faDirectory)) {
        const std::wstring path = folder + L"\\" + entry.Name;
        if (IsDotEntry(entry.Name)) {
            continue;
        }
        if (entry.IsDirectory()) {
            RemoveTree(path);
        } else {
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
    }
    RemoveDirectoryW(folder.c_str());
}
