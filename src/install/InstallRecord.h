#pragma once
#include "common/Paths.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The record of what the runs installed in a target folder, kept there as a text file so that
// the installation can be removed, even after a run that stopped halfway. UTF-8 with a BOM,
// CRLF; the first line names the format and its version, then one item per line, its fields
// separated by a tab (a character no Windows file name holds):
//   folder    <path>                                       a folder the runs created
//   file      <size> <UTC write time> new|existed|edited readonly|writable <path>
//   shortcut  <absolute path of the .lnk>
//   font      <absolute path of the font file> <registry value name>
//   source    <absolute path of the distribution folder, ending in "\">   the latest run's
// Folder and file paths are relative to the target folder. A later line for the same item
// replaces an earlier one: a run appends as it goes and a reinstall merges.

inline constexpr wchar_t InstallRecordName[] = L"InstallRecord.txt";
inline constexpr wchar_t UninstallerName[] = L"Uninstall.exe";

enum class TRecordKind { rkFolder, rkFile, rkShortcut, rkFont, rkSource };

struct TRecordEntry {
    TRecordKind Kind = TRecordKind::rkFile;
    std::wstring Path;
    // Files only.
    std::uint64_t Size = 0;
    std::uint64_t WriteTime = 0; // FILETIME, UTC, as one number
    bool Existed = false;        // a file of that name was there before the first run wrote it
    bool Edited = false;         // it was there, and the runs only edited it in place: not ours
    bool ReadOnly = false;       // installed with the read-only attribute
    // Fonts only: the value under the registry's Fonts key.
    std::wstring FontValue;
};

using TRecordEntries = std::vector<TRecordEntry>;

inline TRecordEntry RecordItem(TRecordKind kind, std::wstring path) {
    TRecordEntry entry;
    entry.Kind = kind;
    entry.Path = std::move(path);
    return entry;
}

// Entries, one per item: a later one for the same item (paths compared as Windows does,
// ignoring case) takes the earlier one's place; there is one source, the latest.
class TRecordSet {
public:
    // The entry now standing for the item.
    const TRecordEntry& Add(TRecordEntry entry);
    const TRecordEntry* Find(TRecordKind kind, const std::wstring& path) const;
    // The distribution folder the latest run came from; empty when no run recorded one.
    std::wstring Source() const;
    const TRecordEntries& Entries() const { return FEntries; }
    void Clear();

private:
    TRecordEntries FEntries;
    // Per kind, the entries' places by path.
    std::map<TRecordKind, std::map<std::wstring, size_t, TPathLess>> FIndex;
};

// Whether a distribution folder can stand in a source line: a full path ending in "\".
bool IsRecordableSource(const std::wstring& folder);

// The first line, and one item as its line; neither with the line end.
std::wstring RecordHeader();
std::wstring FormatRecordLine(const TRecordEntry& entry);

// Reads a record's bytes. On a fault returns false and names it ("строка 3: ..."); the
// entries are then empty.
bool ParseInstallRecord(const std::string& bytes, TRecordSet& entries, std::wstring& error);

enum class TRecordState { rsMissing, rsBad, rsRead };
struct TRecordFile {
    TRecordState State = TRecordState::rsMissing;
    TRecordSet Entries;
    std::wstring Error; // rsBad: what is wrong, and where
};
// The record in folder (ending in "\").
TRecordFile ReadInstallRecord(const std::wstring& folder);

// Writes the whole record to folder in place of the old one: written beside it first and then
// moved over it, so that a failure leaves the old record whole. False when it could not.
bool WriteInstallRecord(const std::wstring& folder, const TRecordEntries& entries);

// The size and write time of a file as they are now; false when it is not there.
bool ReadFileStamp(const std::wstring& path, std::uint64_t& size, std::uint64_t& writeTime,
                   bool& readOnly);
