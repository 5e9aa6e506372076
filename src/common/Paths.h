#pragma once
#include <string>

// Path text helpers in the manner the suite has always used them: "\" is the delimiter.
std::wstring IncludeTrailingPathDelimiter(const std::wstring& path);
std::wstring ExcludeTrailingPathDelimiter(const std::wstring& path);
// The folder part of a file path, without its trailing delimiter unless it is a drive's root.
std::wstring ExtractFileDir(const std::wstring& path);
// The folder part with its trailing delimiter ("" when there is none).
std::wstring ExtractFilePath(const std::wstring& path);
// What follows the folder part: the file's (or the last folder's) name.
std::wstring ExtractFileName(const std::wstring& path);

// Text with leading and trailing blanks and control characters removed.
std::wstring TrimBlanks(const std::wstring& text);

// The running executable's full path, and its folder with a trailing delimiter.
std::wstring ExecutablePath();
std::wstring ExecutableFolder();

// Whether two paths or names are the same to Windows: equal but for the case of letters.
bool SamePath(const std::wstring& a, const std::wstring& b);
// Whether path begins with folder in that sense.
bool StartsWithPath(const std::wstring& path, const std::wstring& folder);
// The order that goes with SamePath, for maps keyed by path: equal keys are the same path.
struct TPathLess {
    bool operator()(const std::wstring& a, const std::wstring& b) const;
};

// The temporary folder, with a trailing delimiter; empty when Windows gives none.
std::wstring TempFolder();

// Existence tests; links are followed.
bool DirectoryExists(const std::wstring& path);
bool FileExists(const std::wstring& path);

// Creates a folder with all its missing parents; true when it exists afterwards.
bool ForceDirectories(const std::wstring& path);
