#pragma once
#include <string>

// Records the installed release level in Folder's "ReleaseInfo" (Folder ends in a
// delimiter). Raises EError when the file is missing, is not a version 1 release file, or
// cannot be read or written; the file is unchanged then, unless the save itself failed.
void SetReleaseLevel(const std::wstring& Folder, const std::wstring& Level);
