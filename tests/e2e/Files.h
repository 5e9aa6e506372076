#pragma once
#include <string>
#include <vector>

namespace e2e {

// A path given on the command line: a Linux path (/work/...) becomes the Wine drive Z: path
// that maps to it; slashes become backslashes; a trailing backslash is dropped.
std::wstring WindowsPath(const std::wstring& path);

bool FolderExists(const std::wstring& path);
bool FileExists(const std::wstring& path);

// Copies the contents of source into target (created if missing) with the shell, as a person
// copying a distribution folder would; attributes such as read-only travel with the files.
void CopyFolder(const std::wstring& source, const std::wstring& target);

// The first of base-1, base-2, ... that does not exist yet.
std::wstring FreshFolderName(const std::wstring& base);

void CreateFolders(const std::wstring& path);

// The whole file; false when it cannot be read.
bool ReadBytes(const std::wstring& path, std::string& bytes);
void WriteBytes(const std::wstring& path, const std::string& bytes);

// Whether Windows reports the file read-only (from Wine: the Linux write bits).
bool ReadOnly(const std::wstring& path);

// Every file below folder, as paths relative to it ("a\\b.txt"), sorted regardless of case.
std::vector<std::wstring> FilesBelow(const std::wstring& folder);
// Every folder below folder, the same way ("a", "a\\b").
std::vector<std::wstring> FoldersBelow(const std::wstring& folder);

} // namespace e2e
