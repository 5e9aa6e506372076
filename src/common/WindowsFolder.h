#pragma once
#include <string>

// The Windows folder ending in "\", or "" when the system cannot tell it.
std::wstring GetWindowsFolder();

// The Windows fonts folder ending in "\".
std::wstring WindowsFontsFolder();
// Whether path names a file right in that folder.
bool IsInWindowsFontsFolder(const std::wstring& path);
