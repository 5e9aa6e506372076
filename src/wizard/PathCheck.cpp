#include "wizard/PathCheck.h"

#include <windows.h>

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

std::wstring WithTrailingBackslash(const std::wstring& path) {
    if (!path.empty() && path.back() == L'\\') {
        return path;
    }
    return path + L'\\';
}

bool IsRootLikeTarget(const std::wstring& normalisedPath) {
    return normalisedPath.size() <= 3;
}

namespace {
void CreateOneLevel(const std::wstring& folder) {
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        CreateDirectoryW(folder.c_str(), nullptr);
    }
}
} // namespace

void CreateTargetFolders(const std::wstring& normalisedPath) {
    CreateOneLevel(normalisedPath);
    CreateOneLevel(normalisedPath + L"Settings\\");
}
