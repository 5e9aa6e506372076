#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace e2e {

class TContext;

// A file or folder as Windows reports it (times in 100 ns units, as Windows sees them, not the
// nanoseconds of the Linux side).
struct TItem {
    DWORD Attributes = 0;
    ULONGLONG Written = 0;
    ULONGLONG Size = 0;
    std::string Bytes; // only where the content counts
};
using TItems = std::map<std::wstring, TItem>;

// Everything an installation run may change, taken just before it: the target tree (each
// file's bytes, last-write time and attributes; each folder's time and attributes, the target
// itself as ""), the Windows fonts folder (names, sizes, times), the font values in the
// registry, the Programs and Features entry (read in the registry view of the build under
// test, which is this program's), the desktop shortcut (bytes and time), and the rollback
// journal named for the next start. A target that does not exist has an empty tree.
struct TSnapshot {
    std::wstring Target; // ends in "\"
    TItems Tree;
    TItems Fonts;
    std::map<std::wstring, std::wstring> FontValues;
    std::map<std::wstring, std::wstring> Entry;
    TItems Shortcut; // none or one
    std::wstring PendingJournal;
};
TSnapshot TakeSnapshot(const std::wstring& target);

// Every difference between `before` and the machine now, each one a failure naming what
// differs ("target: file changed: DTAfb\R47.FDB (content)"), beginning with `when`. Files in
// `appended` (relative to the target) may have grown by what a program of others added, which
// no rollback takes back: the earlier content must still begin them.
void CheckSnapshot(TContext& context, const TSnapshot& before, const std::wstring& when = L"",
                   const std::vector<std::wstring>& appended = {});

// The journal that the next start of setup would undo (HKLM\Software\Sontira\Setup,
// RollbackJournal); empty when none is named.
std::wstring PendingRollbackJournal();

} // namespace e2e
