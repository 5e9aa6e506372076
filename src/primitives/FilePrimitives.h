#pragma once
#include <string>
#include <vector>

// The chunk CopyFileByStream reads and writes: CopyFileW's own on Wine. Measured there over
// ext4 (bench/), 64 and 128 KiB cost what CopyFileW costs; from 256 KiB on, most copies of a
// 1 GiB file took 1.5 to 2.5 times as long.
inline constexpr unsigned long StreamCopyBufferSize = 64 * 1024;

// Copies one file byte for byte and gives the target the source's last-write time (to the
// two seconds of a DOS date-time). Raises EError when the source cannot be opened or the
// target cannot be created; returns false when the transfer fails, and then removes the
// partial target so that nothing half-written looks copied.
bool CopyFileByStream(const std::wstring& source, const std::wstring& target);

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
// rest; the failures come back in the order met. Both paths without a trailing delimiter.
TCopyFailures CopyFolderTree(const std::wstring& source, const std::wstring& target);

// Appends folder + name for every subfolder of folder (ending in "\") that is neither hidden
// nor system nor named exactly "WithOutAnswer", in the file system's order. An unreadable
// folder adds nothing.
void ListSubfolders(const std::wstring& folder, std::vector<std::wstring>& list);

// Sets or clears the read-only bit and keeps the others; a missing file is passed over.
void SetReadOnlyAttribute(const std::wstring& fileName, bool readOnly);
