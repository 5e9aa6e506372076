#pragma once
#include <string>

// Deletes a folder with everything in it, read-only files included. A link inside (a junction
// or a symbolic link) is removed itself and never followed, so nothing outside the folder is
// touched. False when something stayed; the rest is gone. A missing folder is no failure.
bool DeleteTree(const std::wstring& folder);
