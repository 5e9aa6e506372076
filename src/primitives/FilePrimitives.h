#pragma once
#include <windows.h>

#include <source_location>
#include <string>
#include <vector>

// The chunk CopyFileByStream reads and writes: CopyFileW's own on Wine. Measured there over
// ext4 (bench/), 64 and 128 KiB cost what CopyFileW costs; from 256 KiB on, most copies of a
// 1 GiB file took 1.5 to 2.5 times as long.
inline constexpr unsigned long StreamCopyBufferSize = 64 * 1024;

// How CopyFileByStream ended.
struct TStreamCopy {
    enum TOutcome { scCopied, scSourceNotOpened, scTargetNotCreated, scTransferFailed };
    TOutcome Outcome = scCopied;
    unsigned long Error = 0; // the system's reason when it failed
    bool Copied() const { return Outcome == scCopied; }
    // Opening the source or creating the target failed: both files are as they were.
    bool Refused() const { return Outcome == scSourceNotOpened || Outcome == scTargetNotCreated; }
};

// Copies one file byte for byte and gives the target the source's last-write time (to the
// two seconds of a DOS date-time). A transfer that fails removes the partial target, so that
// nothing half-written looks copied.
TStreamCopy CopyFileByStream(const std::wstring& source, const std::wstring& target);

// What the user reads of a refused copy: "Не удается открыть файл "<source>". <reason>" or
// "Не удается создать файл "<target>". <reason>".
std::wstring RefusedCopyText(const TStreamCopy& copy, const std::wstring& source,
                             const std::wstring& target);

// The copy's result as its callers take it: a failure goes to the log file; a refused copy
// raises EError with RefusedCopyText, a failed transfer returns false.
bool CheckStreamCopy(const TStreamCopy& copy, const std::wstring& source,
                     const std::wstring& target,
                     std::source_location where = std::source_location::current());

// One file that CopyFolderTree could not copy, with the system's reason.
struct TCopyFailure {
    std::wstring Source;
    std::wstring Target;
    std::wstring Reason;
};
using TCopyFailures = std::vector<TCopyFailure>;

// Copies a folder's files, hidden and system ones included, then its subfolders that are
// neither hidden nor system, depth first, overwriting files in the target. No copy is left
// read-only, and a read-only file in the way is overwritten. The target and its parents are
// created when missing, even if the source is missing. A file that fails does not stop the
// rest; the failures come back in the order of the walk, though several files are copied at a
// time (TreeCopy.h). Both paths without a trailing delimiter.
TCopyFailures CopyFolderTree(const std::wstring& source, const std::wstring& target);

// Appends folder + name for every subfolder of folder (ending in "\") that is neither hidden
// nor system nor named exactly "WithOutAnswer", in the file system's order. An unreadable
// folder adds nothing.
void ListSubfolders(const std::wstring& folder, std::vector<std::wstring>& list);

// Sets or clears the read-only bit and keeps the others; a missing file is passed over.
void SetReadOnlyAttribute(const std::wstring& fileName, bool readOnly);

// Gives a folder the last-write time it had (the one thing a rename in it changes); a folder
// that cannot be opened is left as it is.
void SetFolderWriteTime(const std::wstring& folder, const FILETIME& time);
