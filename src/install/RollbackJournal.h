#pragma once
#include "common/Handles.h"

#include <windows.h>

#include <string>
#include <vector>

// The journal of a run's changes, kept in the run's own rollback folder so that they can be
// undone: after a stop, or at the next start when the run was killed or the power went. Each
// line is written through to the disk before the change it announces is made. UTF-8 with a
// BOM, CRLF, fields separated by a tab; the first line names the format and its version:
//   target       <folder>                    the installation folder of the run
//   folder       <path>                      a folder the run made (removed again when empty)
//   newtree      <path>                      a folder the run made with all it holds
//   file         <path>                      a file the run made
//   saved        <path> <name>               the file as it was, in the rollback folder
//   savedfolder  <path> <name>               the folder as it was, in the rollback folder
//   renamed      <path> <new path>           the clinic's database, renamed to its .bak
//   restored     <path>                      the run put the clinic's file back: leave it
//   returned     <path> <aside name>         what the copy into a folder moved aside whole did
//                                            not replace, back in the new folder: it goes
//                                            aside again before the folder is swapped back
//   value        <key> <name> absent         a value under HKLM the run wrote, and what it
//   value        <key> <name> <type> <hex>   was before
//   key          <key>                       a key under HKLM the run made or rewrote: it
//                                            goes, and the value lines before it bring back
//                                            what it held
//   font         <path>                      a font file the run installed
//   ran          <program>                   a program of others the run started: not undone
//   times        <folder> <write time>       a folder's last-write time before the run
//   commit                                   the run reached its end: nothing is undone
// Paths are absolute. A last line without its CRLF was cut by a power failure and is dropped.
enum class TJournalKind {
    jkTarget,
    jkFolder,
    jkNewTree,
    jkFile,
    jkSaved,
    jkSavedFolder,
    jkRenamed,
    jkRestored,
    jkReturned,
    jkValue,
    jkKey,
    jkFont,
    jkRan,
    jkTimes,
    jkCommit
};

struct TJournalLine {
    TJournalKind Kind = TJournalKind::jkFile;
    std::wstring Path;      // the item; a key below HKLM for values
    std::wstring Other;     // the name in the rollback folder, the new path, or the value's name
    bool Absent = false;    // values: there was none
    DWORD Type = 0;         // values: their type before
    std::vector<BYTE> Data; // values: their bytes before
};

inline constexpr wchar_t JournalName[] = L"journal.txt";

class TRollbackJournal {
public:
    // Makes the journal in folder (ending in "\"), with its header and target line.
    bool Create(const std::wstring& folder, const std::wstring& target);
    // Written through, whole lines; false when they did not all reach the disk.
    bool Append(const std::vector<TJournalLine>& lines);
    void Close() { FFile.reset(); }
    bool IsOpen() const { return static_cast<bool>(FFile); }

private:
    TUniqueFile FFile;
};

// The journal's lines; false when it cannot be read or is not a journal.
bool ReadRollbackJournal(const std::wstring& path, std::vector<TJournalLine>& lines);
// The same from a journal opened (for reading, and for its security) by OpenRollbackJournal.
TUniqueFile OpenRollbackJournal(const std::wstring& path);
bool ReadRollbackJournal(HANDLE file, std::vector<TJournalLine>& lines);
