#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// The install record (<target>InstallRecord.txt) read back as its format is published: a
// header line, then one line per item, fields separated by TAB, UTF-8 with a byte-order mark
// and CR LF line ends.
constexpr wchar_t RecordName[] = L"InstallRecord.txt";
constexpr char RecordHeader[] = "Sontira install record\t1";

struct TRecordedFile {
    std::wstring Path; // relative to the target
    ULONGLONG Size = 0;
    std::wstring Time;   // UTC last-write time as written
    std::wstring Origin; // new, existed (replaced by the run) or edited (only edited in place)
};

struct TRecord {
    std::string Bytes;                            // the file as it is ("" when missing)
    std::vector<std::vector<std::wstring>> Items; // the lines after the header, split at TAB
    std::wstring Problem;                         // why it breaks the format; "" when it does not
    std::vector<TRecordedFile> Files;             // "file" lines, a later one replacing an earlier
    std::vector<std::wstring> Shortcuts;          // "shortcut" lines' paths
    std::wstring Source;                          // the latest "source" line's folder
};
TRecord ReadRecord(const std::wstring& target);

// A file's last-write time as the record writes it: "YYYY-MM-DDTHH:MM:SS.fffffffZ" (UTC).
std::wstring RecordTime(const std::wstring& path);

} // namespace e2e
