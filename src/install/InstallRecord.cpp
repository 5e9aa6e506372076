#include "install/InstallRecord.h"

#include "common/CanonicalPath.h"
#include "common/Handles.h"
#include "common/Fields.h"
#include "common/Paths.h"
#include "common/Utf8.h"
#include "common/WindowsFolder.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <cwchar>

namespace {

const wchar_t* const FormatName = L"Sontira install record";
const wchar_t* const FormatVersion = L"1";
const char Bom[] = "\xEF\xBB\xBF";
constexpr std::uint64_t TicksPerSecond = 10'000'000;

const wchar_t* KindName(TRecordKind kind) {
    switch (kind) {
    case TRecordKind::rkFolder:
        return L"folder";
    case TRecordKind::rkShortcut:
        return L"shortcut";
    case TRecordKind::rkFont:
        return L"font";
    case TRecordKind::rkSource:
        return L"source";
    case TRecordKind::rkFile:
        break;
    }
    return L"file";
}

std::wstring FormatTime(std::uint64_t ticks) {
    const std::uint64_t seconds = ticks - ticks % TicksPerSecond;
    const FILETIME time{static_cast<DWORD>(seconds), static_cast<DWORD>(seconds >> 32)};
    SYSTEMTIME t{};
    FileTimeToSystemTime(&time, &t);
    wchar_t text[40];
    swprintf(text, 40, L"%04u-%02u-%02uT%02u:%02u:%02u.%07lluZ", t.wYear, t.wMonth, t.wDay, t.wHour,
             t.wMinute, t.wSecond, static_cast<unsigned long long>(ticks % TicksPerSecond));
    return text;
}

bool ParseTime(const std::wstring& text, std::uint64_t& ticks) {
    unsigned year, month, day, hour, minute, second;
    unsigned long long fraction;
    wchar_t zone = 0;
    int used = 0;
    if (text.size() != 28 ||
        swscanf(text.c_str(), L"%4u-%2u-%2uT%2u:%2u:%2u.%7llu%lc%n", &year, &month, &day, &hour,
                &minute, &second, &fraction, &zone, &used) != 8 ||
        zone != L'Z' || used != 28) {
        return false;
    }
    const SYSTEMTIME t{static_cast<WORD>(year),
                       static_cast<WORD>(month),
                       0,
                       static_cast<WORD>(day),
                       static_cast<WORD>(hour),
                       static_cast<WORD>(minute),
                       static_cast<WORD>(second),
                       0};
    FILETIME time{};
    if (!SystemTimeToFileTime(&t, &time)) {
        return false;
    }
    ticks = (std::uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime) + fraction;
    return true;
}

bool ParseNumber(const std::wstring& text, std::uint64_t& value) {
    if (text.empty() || text.size() > 19 || text.find_first_not_of(L"0123456789") != text.npos) {
        return false;
    }
    value = std::wcstoull(text.c_str(), nullptr, 10);
    return true;
}

// Every part from `start` on a name that means itself: none empty, "." or "..", none ending in
// a dot or a blank (Windows drops those, so "DTAfb.\R47.FDB" is "DTAfb\R47.FDB"), no
// stream, no device.
bool HasPlainParts(const std::wstring& path, size_t start) {
    for (;;) {
        const size_t end = std::min(path.find(L'\\', start), path.size());
        if (!IsPlainName(path.substr(start, end - start))) {
            return false;
        }
        if (end == path.size()) {
            return true;
        }
        start = end + 1;
    }
}

// Below the target folder and nowhere else: no drive, no root, no step up.
bool IsInnerPath(const std::wstring& path) {
    return !path.empty() && path.front() != L'\\' && HasPlainParts(path, 0);
}

// On a drive, or on a share: a desktop redirected to a server is a share.
bool IsAbsolutePath(const std::wstring& path) {
    const bool drive = path.size() > 3 && path[1] == L':' && path[2] == L'\\' &&
                       iswalpha(path[0]) && HasPlainParts(path, 3);
    const bool share = path.size() > 4 && path.starts_with(L"\\\\") && HasPlainParts(path, 2);
    return drive || share;
}

// One item line; empty error when it reads.
std::wstring ParseLine(const std::wstring& line, TRecordEntry& entry) {
    const std::vector<std::wstring> fields = SplitFields(line);
    const std::wstring& kind = fields[0];
    if (kind == L"folder" && fields.size() == 2) {
        entry = RecordItem(TRecordKind::rkFolder, fields[1]);
        return IsInnerPath(entry.Path) ? L""
                                       : L"путь папки недопустим или ведёт из папки установки";
    }
    if (kind == L"shortcut" && fields.size() == 2) {
        entry = RecordItem(TRecordKind::rkShortcut, fields[1]);
        return IsAbsolutePath(entry.Path) && entry.Path.size() > 4 &&
                       SamePath(entry.Path.substr(entry.Path.size() - 4), L".lnk")
                   ? L""
                   : L"ярлык не является полным путём к файлу .lnk";
    }
    if (kind == L"font" && fields.size() == 3) {
        entry = RecordItem(TRecordKind::rkFont, fields[1]);
        entry.FontValue = fields[2];
        // A repair writes it back from the distribution: nowhere but where fonts go.
        return IsAbsolutePath(entry.Path) && IsInWindowsFontsFolder(entry.Path)
                   ? L""
                   : L"шрифт не в папке шрифтов Windows";
    }
    if (kind == L"source" && fields.size() == 2) {
        entry = RecordItem(TRecordKind::rkSource, fields[1]);
        return IsRecordableSource(entry.Path) ? L""
                                              : L"папка дистрибутива не является полным путём";
    }
    if (kind != L"file" || fields.size() != 6) {
        return L"неизвестная запись";
    }
    entry = RecordItem(TRecordKind::rkFile, fields[5]);
    if (!ParseNumber(fields[1], entry.Size) || !ParseTime(fields[2], entry.WriteTime) ||
        (fields[3] != L"new" && fields[3] != L"existed" && fields[3] != L"edited") ||
        (fields[4] != L"readonly" && fields[4] != L"writable")) {
        return L"неверный размер, время или признак файла";
    }
    entry.Edited = fields[3] == L"edited";
    entry.Existed = entry.Edited || fields[3] == L"existed";
    entry.ReadOnly = fields[4] == L"readonly";
    return IsInnerPath(entry.Path) ? L"" : L"путь файла недопустим или ведёт из папки установки";
}

bool Fail(std::wstring& error, size_t line, const std::wstring& what, TRecordSet& entries) {
    error = L"строка " + std::to_wstring(line) + L": " + what;
    entries.Clear();
    return false;
}

} // namespace

bool IsRecordableSource(const std::wstring& folder) {
    // A CD's distribution is the drive's root.
    const bool root = folder.size() == 3 && folder[1] == L':' && folder[2] == L'\\';
    return !folder.empty() && folder.back() == L'\\' &&
           (root || IsAbsolutePath(folder.substr(0, folder.size() - 1))) &&
           folder.find(L'\t') == folder.npos;
}

std::wstring RecordHeader() {
    return std::wstring(FormatName) + L"\t" + FormatVersion;
}

std::wstring FormatRecordLine(const TRecordEntry& entry) {
    std::wstring line = KindName(entry.Kind);
    if (entry.Kind == TRecordKind::rkFile) {
        line += L"\t" + std::to_wstring(entry.Size) + L"\t" + FormatTime(entry.WriteTime) +
                (entry.Edited    ? L"\tedited"
                 : entry.Existed ? L"\texisted"
                                 : L"\tnew") +
                (entry.ReadOnly ? L"\treadonly" : L"\twritable");
    }
    line += L"\t" + entry.Path;
    if (entry.Kind == TRecordKind::rkFont) {
        line += L"\t" + entry.FontValue;
    }
    return line;
}

bool ParseInstallRecord(const std::string& bytes, TRecordSet& entries, std::wstring& error) {
    entries.Clear();
    std::wstring text;
    if (!FromUtf8(bytes.starts_with(Bom) ? bytes.substr(3) : bytes, text)) {
        return Fail(error, 1, L"текст не в кодировке UTF-8", entries);
    }
    size_t number = 0;
    for (size_t start = 0; start < text.size() || number == 0;) {
        ++number;
        const size_t end = text.find(L"\r\n", start);
        if (end == text.npos) {
            return Fail(error, number, L"строка не закончена", entries);
        }
        const std::wstring line = text.substr(start, end - start);
        start = end + 2;
        if (line.find_first_of(L"\r\n") != line.npos) {
            return Fail(error, number, L"лишний знак конца строки", entries);
        }
        if (number == 1) {
            if (line != RecordHeader()) {
                return Fail(error, number, L"неизвестный формат записи", entries);
            }
            continue;
        }
        TRecordEntry entry;
        const std::wstring fault = ParseLine(line, entry);
        if (!fault.empty()) {
            return Fail(error, number, fault, entries);
        }
        entries.Add(std::move(entry));
    }
    return true;
}

TRecordFile ReadInstallRecord(const std::wstring& folder) {
    TRecordFile record;
    const std::wstring path = folder + InstallRecordName;
    // A run may be appending to it.
    TUniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return record;
        }
        record.State = TRecordState::rsBad;
        record.Error = L"файл не читается";
        return record;
    }
    LARGE_INTEGER size{};
    std::string bytes;
    DWORD read = 0;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 256 * 1024 * 1024) {
        record.State = TRecordState::rsBad;
        record.Error = L"файл не читается или слишком велик";
        return record;
    }
    bytes.resize(static_cast<size_t>(size.QuadPart));
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read != bytes.size()) {
        record.State = TRecordState::rsBad;
        record.Error = L"файл не читается";
        return record;
    }
    record.State = ParseInstallRecord(bytes, record.Entries, record.Error) ? TRecordState::rsRead
                                                                           : TRecordState::rsBad;
    return record;
}

namespace {

// Bytes written as they come, a block at a time: a record of thousands of files is never held
// whole a second time, as text, beside its entries.
class TBlockWriter {
public:
    explicit TBlockWriter(HANDLE file) : FFile(file) {}
    bool Add(const std::string& bytes) {
        FBlock += bytes;
        return FBlock.size() < BlockSize || Write();
    }
    bool Write() {
        DWORD written = 0;
        const bool ok =
            WriteFile(FFile, FBlock.data(), static_cast<DWORD>(FBlock.size()), &written, nullptr) &&
            written == FBlock.size();
        FBlock.clear();
        return ok;
    }

private:
    static constexpr size_t BlockSize = 64 * 1024;
    HANDLE FFile;
    std::string FBlock;
};

bool WriteRecordFile(HANDLE file, const TRecordEntries& entries) {
    TBlockWriter writer(file);
    if (!writer.Add(Bom + ToUtf8(RecordHeader() + L"\r\n"))) {
        return false;
    }
    for (const TRecordEntry& entry : entries) {
        if (!writer.Add(ToUtf8(FormatRecordLine(entry) + L"\r\n"))) {
            return false;
        }
    }
    return writer.Write() && FlushFileBuffers(file);
}

} // namespace

bool WriteInstallRecord(const std::wstring& folder, const TRecordEntries& entries) {
    const std::wstring path = folder + InstallRecordName;
    const std::wstring fresh = path + L".new";
    {
        // Made new, never opened over what lies under the name: a user who may write in the
        // folder cannot have the record written through a link put there (nor, on Wine, which
        // deletes what a link leads to, the file behind it deleted). The record then stays as
        // it was appended.
        TUniqueFile file(CreateFileW(fresh.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            return false;
        }
        if (!WriteRecordFile(file.get(), entries)) {
            // Deleted through the handle: no name is looked up again.
            FILE_DISPOSITION_INFO dispose{TRUE};
            SetFileInformationByHandle(file.get(), FileDispositionInfo, &dispose, sizeof dispose);
            return false;
        }
    }
    if (!MoveFileExW(fresh.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(fresh.c_str());
        return false;
    }
    return true;
}

// The one source is kept under an empty path, so that a later run's takes its place.
const TRecordEntry& TRecordSet::Add(TRecordEntry entry) {
    const std::wstring key = entry.Kind == TRecordKind::rkSource ? L"" : entry.Path;
    const auto [place, added] = FIndex[entry.Kind].try_emplace(key, FEntries.size());
    if (added) {
        FEntries.push_back(std::move(entry));
    } else {
        FEntries[place->second] = std::move(entry);
    }
    return FEntries[place->second];
}

const TRecordEntry* TRecordSet::Find(TRecordKind kind, const std::wstring& path) const {
    const auto paths = FIndex.find(kind);
    if (paths == FIndex.end()) {
        return nullptr;
    }
    const auto place = paths->second.find(path);
    return place == paths->second.end() ? nullptr : &FEntries[place->second];
}

std::wstring TRecordSet::Source() const {
    const TRecordEntry* source = Find(TRecordKind::rkSource, L"");
    return source == nullptr ? std::wstring() : source->Path;
}

void TRecordSet::Clear() {
    FEntries.clear();
    FIndex.clear();
}

bool ReadFileStamp(const std::wstring& path, std::uint64_t& size, std::uint64_t& writeTime,
                   bool& readOnly) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return false;
    }
    size = std::uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    writeTime = std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32 |
                data.ftLastWriteTime.dwLowDateTime;
    readOnly = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    return true;
}
