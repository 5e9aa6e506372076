#pragma once
#include <string>
#include <vector>

// File trees of the bench: what a run copies, copied again with CopyFileW for reference, and
// removed between repetitions so that every copy starts from an absent target.

// Paths relative to root of every file below root\folder, hidden ones included.
void ListTree(const std::wstring& root, const std::wstring& folder,
              std::vector<std::wstring>& files);

// Copies every listed file from sourceRoot to the same relative path under targetRoot with
// CopyFileW, creating folders on the way; false if any copy fails.
bool CopyListed(const std::wstring& sourceRoot, const std::wstring& targetRoot,
                const std::vector<std::wstring>& files);

// Removes a folder with everything in it, read-only files included; a missing one is fine.
void RemoveTree(const std::wstring& folder);
