#include "RecordFile.h"

#include <cwchar>
#include <cwctype>

#include "Files.h"
#include "Report.h"
#include "common/Fields.h"

namespace e2e {
namespace {

// A size that fits 64 bits.
bool Digits(const std::wstring& text) {
    return !text.empty() && text.size() < 20 &&
           text.find_first_not_of(L"0123456789") == std::wstring::npos;
}

bool IsTime(const std::wstring& text) {
    // 2026-12-10T14:35:12.3456789Z
    constexpr wchar_t Pattern[] = L"dddd-dd-ddTdd:dd:dd.dddddddZ";
    if (text.size() != std::wcslen(Pattern)) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        if (Pattern[i] == L'd' ? !std::iswdigit(text[i]) : text[i] != Pattern[i]) {
            return false;
        }
    }
    return true;
}

// A path below the target: not absolute, no drive, no ".." component.
bool IsRelative(const std::wstring& path) {
    if (path.empty() || path[0] == L'\\' || path[0] == L'/' || path.find(L':') != path.npos) {
        return false;
    }
    const std::wstring wrapped = L"\\" + path + L"\\";
    return wrapped.find(L"\\..\\") == wrapped.npos;
}

// Why an item line breaks the format; "" when it keeps it.
std::wstring ItemProblem(const std::vector<std::wstring>& f) {
    const std::wstring& kind = f[0];
    if (kind == L"folder") {
        return f.size() == 2 && IsRelative(f[1]) ? L"" : L"bad folder line";
    }
    if (kind == L"file") {
        const bool ok = f.size() == 6 && Digits(f[1]) && IsTime(f[2]) &&
                        (f[3] == L"new" || f[3] == L"existed" || f[3] == L"edited") &&
                        (f[4] == L"readonly" || f[4] == L"writable") && IsRelative(f[5]);
        return ok ? L"" : L"bad file line";
    }
    if (kind == L"shortcut") {
        return f.size() == 2 && f[1].size() > 7 && f[1][1] == L':' && f[1].ends_with(L".lnk")
                   ? L""
                   : L"bad shortcut line";
    }
    if (kind == L"font") {
        return f.size() == 3 && f[1].size() > 3 && f[1][1] == L':' && !f[2].empty()
                   ? L""
                   : L"bad font line";
    }
    if (kind == L"source") {
        return f.size() == 2 && f[1].size() >= 3 && f[1].ends_with(L'\\') ? L""
                                                                          : L"bad source line";
    }
    return L"unknown kind \"" + kind + L"\"";
}

void AddFile(TRecord& record, const std::vector<std::wstring>& f) {
    TRecordedFile file{f[5], std::stoull(f[1]), f[2], f[3]};
    for (auto& earlier : record.Files) {
        if (lstrcmpiW(earlier.Path.c_str(), file.Path.c_str()) == 0) {
            earlier = file;
            return;
        }
    }
    record.Files.push_back(file);
}

void Parse(TRecord& record) {
    if (!record.Bytes.starts_with("\xEF\xBB\xBF")) {
        record.Problem = L"no byte-order mark";
        return;
    }
    size_t start = 3;
    bool header = true;
    for (size_t end; (end = record.Bytes.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        const std::string line = record.Bytes.substr(start, end - start);
        if (header) {
            header = false;
            if (line != RecordHeader) {
                record.Problem = L"header \"" + Visible(FromUtf8(line)) + L"\"";
                return;
            }
            continue;
        }
        const auto fields = SplitFields(FromUtf8(line));
        const std::wstring problem = ItemProblem(fields);
        if (!problem.empty()) {
            record.Problem = problem + L": \"" + Visible(FromUtf8(line)) + L"\"";
            return;
        }
        record.Items.push_back(fields);
        if (fields[0] == L"file") {
            AddFile(record, fields);
        } else if (fields[0] == L"shortcut") {
            record.Shortcuts.push_back(fields[1]);
        } else if (fields[0] == L"source") {
            record.Source = fields[1];
        }
    }
    if (header || start != record.Bytes.size()) {
        record.Problem = header ? L"no header line" : L"the last line lacks CR LF";
    }
}

} // namespace

TRecord ReadRecord(const std::wstring& target) {
    TRecord record;
    if (!ReadBytes(target + RecordName, record.Bytes)) {
        record.Problem = L"no " + target + RecordName;
        return record;
    }
    Parse(record);
    return record;
}

std::wstring RecordTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    SYSTEMTIME time{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        !FileTimeToSystemTime(&data.ftLastWriteTime, &time)) {
        return L"(no time: " + path + L")";
    }
    const ULONGLONG ticks =
        (ULONGLONG(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    wchar_t text[40];
    swprintf(text, 40, L"%04u-%02u-%02uT%02u:%02u:%02u.%07uZ", time.wYear, time.wMonth, time.wDay,
             time.wHour, time.wMinute, time.wSecond, static_cast<unsigned>(ticks % 10000000));
    return text;
}

} // namespace e2e
