#pragma once
#include "common/Handles.h"

#include <cstdint>
#include <string>

// A file or folder below the installation folder, opened once: what it is, and a handle
// through which it is deleted, so that nothing can be put in its place between the look and
// the deletion.
struct TFolderItem {
    enum TState {
        fiGone,      // not there
        fiLink,      // reached through a link, or a link itself: never followed, never deleted
        fiNotOpened, // there, but it could not be opened (held by a program without sharing)
        fiOpen
    };
    TState State = fiGone;
    TUniqueFile Handle;
    std::wstring Path; // as the record names it, below the installation folder
    std::wstring Link; // fiLink: the link, relative to the installation folder
    DWORD Error = 0;   // fiNotOpened: the system's reason
    std::uint64_t Size = 0;
    std::uint64_t WriteTime = 0; // FILETIME, UTC, as one number
    DWORD Attributes = 0;

    bool IsFolder() const { return (Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};

// The installation folder as it really is, held open (shared for reading and writing, not for
// deleting or renaming) for as long as this lives, so that it cannot be swapped for a link
// meanwhile. Nothing is deleted unless its real place is the place its path names below this
// folder's real place: a link anywhere on the way leaves the item alone.
class TInstallFolder {
public:
    // target is canonical and ends in "\".
    explicit TInstallFolder(const std::wstring& target);

    // Empty when the folder can be worked in; otherwise why not (it is reached through a link,
    // or cannot be opened), for the log.
    const std::wstring& Problem() const { return FProblem; }

    // relative: a path below the folder, as the install record gives it.
    TFolderItem Open(const std::wstring& relative) const;

private:
    std::wstring LinkOnTheWay(const std::wstring& relative) const;

    std::wstring FTarget;
    std::wstring FReal; // the real place, with a trailing "\"
    TUniqueFile FHandle;
    std::wstring FProblem;
};

// Deletes an opened item through its handle (a folder only when empty). clearReadOnly: the
// read-only attribute is cleared first, and put back should the deletion fail. 0, or the
// system's reason; ERROR_DIR_NOT_EMPTY for a folder that still holds something.
DWORD DeleteItem(const TFolderItem& item, bool clearReadOnly);
