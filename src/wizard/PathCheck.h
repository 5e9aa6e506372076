#pragma once
#include "common/Paths.h"

#include <string>

// The path with exactly one trailing backslash added when it has none.
std::wstring WithTrailingBackslash(const std::wstring& path);

// A target of three characters or fewer is a drive root (or as short as one) and is refused.
bool IsRootLikeTarget(const std::wstring& normalisedPath);

// Creates the target folder and its Settings subfolder, one level each; failures are left
// for the installation run to find and report.
void CreateTargetFolders(const std::wstring& normalisedPath);
