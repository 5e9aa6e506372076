#pragma once
#include "primitives/FilePrimitives.h"

#include <string>
#include <vector>

// How many files a tree copy has in flight. Under Wine a small file's copy is mostly waiting
// on the Wine server and the file system, so more copies than cores pay (measured in bench/).
inline constexpr unsigned TreeCopyThreads = 4;

// One file of a tree copy.
struct TTreeFile {
    std::wstring Name;
    bool Existed = false; // the target folder held a file of that name before the copy
    bool Copied = false;
};

// One folder of a tree copy: where its files went, in the order of the source's listing.
struct TTreeFolder {
    std::wstring Target;
    bool Existed = false; // the target folder was there before the copy
    std::vector<TTreeFile> Files;
};

// What a tree copy found and did, in the order of a walk that copies a folder's files before
// its subfolders, depth first.
struct TTreeCopy {
    std::vector<TTreeFolder> Folders;
    TCopyFailures Failures;
};

// CopyFolderTree, telling file by file what it found and did. Each folder of the source and
// of the target is read once, and `threads` files are copied at a time; whichever ends first,
// everything comes back in the walk's order, as if one file had been copied after the other.
TTreeCopy CopyFolderTreeReporting(const std::wstring& source, const std::wstring& target,
                                  unsigned threads = TreeCopyThreads);
