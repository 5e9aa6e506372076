#include "Files.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

#include "Report.h"
#include "common/Handles.h"

namespace e2e {

std::wstring WindowsPath(const std::wstring& path) {
    std::wstring result = path.starts_with(L"/") ? L"Z:" + path : path;
    for (auto& c : result) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    while (result.size() > 3 && result.back() == L'\\') {
        result.pop_back();
    }
    return result;
}

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void CopyFolder(const std::wstring& source, const std::wstring& target) {
    // With a missing target and a single matching file, the shell would copy that file under
    // the target's name.
    CreateFolders(target);
    // Both lists end in two NULs.
    const std::wstring from = source + L"\\*" + L'\0';
    const std::wstring to = target + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_COPY;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI | FOF_SILENT;
    const int result = SHFileOperationW(&op);
    if (result != 0 || op.fAnyOperationsAborted) {
        Fail(L"could not copy " + source + L" to " + target + L" (SHFileOperationW " +
             std::to_wstring(result) + L")");
    }
}

std::wstring FreshFolderName(const std::wstring& base) {
    for (int n = 1;; ++n) {
        std::wstring name = base + L"-" + std::to_wstring(n);
        if (GetFileAttributesW(name.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return name;
        }
    }
}

void CreateFolders(const std::wstring& path) {
    const int result = SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
    if (result != ERROR_SUCCESS && result != ERROR_ALREADY_EXISTS) {
        Fail(L"could not create the folder " + path);
    }
}

bool ReadBytes(const std::wstring& path, std::string& bytes) {
    TUniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.HighPart != 0) {
        return false;
    }
    bytes.assign(size.LowPart, '\0');
    DWORD read = 0;
    return bytes.empty() || (ReadFile(file.get(), bytes.data(), size.LowPart, &read, nullptr) &&
                             read == size.LowPart);
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    TUniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file ||
        !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        Fail(L"could not write " + path);
    }
}

namespace {

void CollectEntries(const std::wstring& folder, const std::wstring& prefix, bool folders,
                    std::vector<std::wstring>& entries) {
    WIN32_FIND_DATAW found{};
    TUniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!find) {
        return;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isFolder == folders) {
            entries.push_back(prefix + name);
        }
        if (isFolder) {
            CollectEntries(folder + L"\\" + name, prefix + name + L"\\", folders, entries);
        }
    } while (FindNextFileW(find.get(), &found));
}

std::vector<std::wstring> EntriesBelow(const std::wstring& folder, bool folders) {
    std::vector<std::wstring> entries;
    CollectEntries(folder, L"", folders, entries);
    std::sort(entries.begin(), entries.end(), [](const std::wstring& a, const std::wstring& b) {
        return lstrcmpiW(a.c_str(), b.c_str()) < 0;
    });
    return entries;
}

} // namespace

std::vector<std::wstring> FilesBelow(const std::wstring& folder) {
    return EntriesBelow(folder, false);
}

std::vector<std::wstring> FoldersBelow(const std::wstring& folder) {
    return EntriesBelow(folder, true);
}

bool ReadOnly(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

} // namespace e2e
