#pragma once
#include <set>
#include <string>

// After a copy of a folder tree that reports success but may have passed files over (the
// shell leaves a file it cannot replace, and one the person answered No for): the target
// files that are not copies of their sources, by size and last-write time, which a copy keeps.
// Full target paths; source and target without trailing delimiters.
std::set<std::wstring> FilesNotCopied(const std::wstring& source, const std::wstring& target);
