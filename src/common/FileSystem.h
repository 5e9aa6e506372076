#pragma once
#include <string>

// Existence tests that follow links, as the file system reports them.
bool DirectoryExists(const std::wstring& path);
bool FileExists(const std::wstring& path);

// Text with leading and trailing blanks and control characters removed.
std::wstring TrimBlanks(const std::wstring& text);

// The folder of the running executable, with a trailing delimiter.
std::wstring ExecutableFolder();
