#include "common/Paths.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

namespace {
bool IsDelimiter(wchar_t c) {
    return c == L'\\' || c == L'/';
}
} // namespace

std::wstring IncludeTrailingPathDelimiter(const std::wstring& path) {
    if (!path.empty() && IsDelimiter(path.back())) {
        return path;
    }
    return path + L'\\';
}

std::wstring ExcludeTrailingPathDelimiter(const std::wstring& path) {
    if (!path.empty() && IsDelimiter(path.back())) {
        return path.substr(0, path.size() - 1);
    }
    return path;
}

std::wstring ExtractFilePath(const std::wstring& path) {
    const size_t last = path.find_last_of(L"\\/:");
    return last == std::wstring::npos ? std::wstring() : path.substr(0, last + 1);
}

std::wstring ExtractFileName(const std::wstring& path) {
    return path.substr(ExtractFilePath(path).size());
}

std::wstring ExtractFileDir(const std::wstring& path) {
    std::wstring dir = ExtractFilePath(path);
    // "C:\" stays the root of C:, not the drive's current folder that "C:" would mean.
    if (dir.size() > 1 && IsDelimiter(dir.back()) && dir[dir.size() - 2] != L':' &&
        !IsDelimiter(dir[dir.size() - 2])) {
        dir.pop_back();
    }
    return dir;
}

bool DirectoryExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool ForceDirectories(const std::wstring& path) {
    const std::wstring folder = ExcludeTrailingPathDelimiter(path);
    if (folder.empty() || DirectoryExists(folder)) {
        return !folder.empty();
    }
    // The shell's routine wants a full path; ours may be relative to the current folder.
    std::vector<wchar_t> full(GetFullPathNameW(folder.c_str(), 0, nullptr, nullptr) + 1);
    if (GetFullPathNameW(folder.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr) ==
        0) {
        return false;
    }
    SHCreateDirectoryExW(nullptr, full.data(), nullptr);
    return DirectoryExists(folder);
}

std::wstring TrimBlanks(const std::wstring& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && text[first] <= L' ') {
        ++first;
    }
    while (last > first && text[last - 1] <= L' ') {
        --last;
    }
    return text.substr(first, last - first);
}

std::wstring ExecutablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (length < buffer.size()) {
            return std::wstring(buffer.data(), length);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring ExecutableFolder() {
    const std::wstring path = ExecutablePath();
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::wstring TempFolder() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, path);
    return length > 0 && length <= MAX_PATH ? std::wstring(path, length) : std::wstring();
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool TPathLess::operator()(const std::wstring& a, const std::wstring& b) const {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_LESS_THAN;
}

bool StartsWithPath(const std::wstring& path, const std::wstring& folder) {
    return path.size() >= folder.size() && SamePath(path.substr(0, folder.size()), folder);
}
