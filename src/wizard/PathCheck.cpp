#include "wizard/PathCheck.h"

#include <windows.h>

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
    if (!DirectoryExists(folder)) {
        CreateDirectoryW(folder.c_str(), nullptr);
    }
}
} // namespace

void CreateTargetFolders(const std::wstring& normalisedPath) {
    CreateOneLevel(normalisedPath);
    CreateOneLevel(normalisedPath + L"Settings\\");
}
