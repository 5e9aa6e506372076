#pragma once
#include <string>
#include <vector>

// The deletions Windows will make at the next restart: the value PendingFileRenameOperations
// under the Session Manager's key, pairs of names ("\??\C:\..."), an empty second name meaning
// "delete". A file scheduled so by one removal must not be taken from a later installation
// that writes a file of the same name.
class TPendingDeletions {
public:
    // Knows of none.
    TPendingDeletions() = default;
    // Reads the list once: the files below folder (canonical, ending in "\") whose deletion is
    // pending.
    explicit TPendingDeletions(const std::wstring& folder);

    // Whether a deletion of path (a full path) is pending.
    bool Pending(const std::wstring& path) const;

    // Takes the pending deletions of path off Windows' list. The list is read again and written
    // back at once, so that what others put there meanwhile stays. False when it could not be
    // written (no rights, for instance).
    bool Cancel(const std::wstring& path);

private:
    std::vector<std::wstring> FPaths; // full paths, as the list names them without "\??\"
};
