#include "install/RollbackJournal.h"

#include "common/AdminOnly.h"
#include "common/Fields.h"
#include "common/Utf8.h"

#include <cwchar>

namespace {

const wchar_t* const Header = L"Sontira rollback journal\t1";

struct TKindName {
    TJournalKind Kind;
    const wchar_t* Name;
};
constexpr TKindName KindNames[] = {
    {TJournalKind::jkTarget, L"target"},     {TJournalKind::jkFolder, L"folder"},
    {TJournalKind::jkNewTree, L"newtree"},   {TJournalKind::jkFile, L"file"},
    {TJournalKind::jkSaved, L"saved"},       {TJournalKind::jkSavedFolder, L"savedfolder"},
    {TJournalKind::jkRenamed, L"renamed"},   {TJournalKind::jkRestored, L"restored"},
    {TJournalKind::jkReturned, L"returned"}, {TJournalKind::jkValue, L"value"},
    {TJournalKind::jkKey, L"key"},           {TJournalKind::jkFont, L"font"},
    {TJournalKind::jkRan, L"ran"},           {TJournalKind::jkTimes, L"times"},
    {TJournalKind::jkCommit, L"commit"},
};

const wchar_t* NameOf(TJournalKind kind) {
    for (const TKindName& entry : KindNames) {
        if (entry.Kind == kind) {
            return entry.Name;
        }
    }
    return L"";
}

std::wstring Hex(const std::vector<BYTE>& data) {
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring text;
    for (BYTE b : data) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

bool FromHex(const std::wstring& text, std::vector<BYTE>& data) {
    if (text.size() % 2 != 0) {
        return false;
    }
    data.clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        wchar_t* end = nullptr;
        const std::wstring pair = text.substr(i, 2);
        const unsigned long value = std::wcstoul(pair.c_str(), &end, 16);
        if (end != pair.c_str() + 2) {
            return false;
        }
        data.push_back(static_cast<BYTE>(value));
    }
    return true;
}

std::wstring Format(const TJournalLine& line) {
    std::wstring text = NameOf(line.Kind);
    if (line.Kind == TJournalKind::jkCommit) {
        return text;
    }
    text += L'\t' + line.Path;
    switch (line.Kind) {
    case TJournalKind::jkSaved:
    case TJournalKind::jkSavedFolder:
    case TJournalKind::jkRenamed:
    case TJournalKind::jkReturned:
    case TJournalKind::jkTimes:
        text += L'\t' + line.Other;
        break;
    case TJournalKind::jkValue:
        text += L'\t' + line.Other + L'\t';
        text += line.Absent ? std::wstring(L"absent")
                            : std::to_wstring(line.Type) + L'\t' + Hex(line.Data);
        break;
    default:
        break;
    }
    return text;
}

bool Parse(const std::wstring& text, TJournalLine& line) {
    const std::vector<std::wstring> f = SplitFields(text);
    const TKindName* kind = nullptr;
    for (const TKindName& entry : KindNames) {
        kind = f[0] == entry.Name ? &entry : kind;
    }
    if (kind == nullptr) {
        return false;
    }
    line = {};
    line.Kind = kind->Kind;
    switch (line.Kind) {
    case TJournalKind::jkCommit:
        return f.size() == 1;
    case TJournalKind::jkSaved:
    case TJournalKind::jkSavedFolder:
    case TJournalKind::jkRenamed:
    case TJournalKind::jkReturned:
    case TJournalKind::jkTimes:
        if (f.size() != 3) {
            return false;
        }
        line.Other = f[2];
        break;
    case TJournalKind::jkValue:
        if (f.size() == 4 && f[3] == L"absent") {
            line.Absent = true;
        } else if (f.size() != 5 || f[3].empty() ||
                   f[3].find_first_not_of(L"0123456789") != f[3].npos ||
                   !FromHex(f[4], line.Data)) {
            return false;
        } else {
            line.Type = static_cast<DWORD>(std::wcstoul(f[3].c_str(), nullptr, 10));
        }
        line.Other = f[2];
        break;
    default:
        if (f.size() != 2) {
            return false;
        }
        break;
    }
    line.Path = f[1];
    return !line.Path.empty();
}

} // namespace

bool TRollbackJournal::Create(const std::wstring& folder, const std::wstring& target) {
    // Written through: a line that returned is on the disk when the change it announces is made.
    FFile = CreateAdminOnlyFile(folder + JournalName, GENERIC_WRITE, FILE_SHARE_READ,
                                FILE_FLAG_WRITE_THROUGH);
    if (!FFile) {
        return false;
    }
    const std::string bytes = "\xEF\xBB\xBF" + ToUtf8(std::wstring(Header) + L"\r\n");
    DWORD written = 0;
    TJournalLine first;
    first.Kind = TJournalKind::jkTarget;
    first.Path = target;
    if (!WriteFile(FFile.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                   nullptr) ||
        written != bytes.size() || !Append({first})) {
        FFile.reset();
        return false;
    }
    return true;
}

bool TRollbackJournal::Append(const std::vector<TJournalLine>& lines) {
    if (!FFile) {
        return false;
    }
    std::wstring text;
    for (const TJournalLine& line : lines) {
        text += Format(line) + L"\r\n";
    }
    const std::string bytes = ToUtf8(text);
    DWORD written = 0;
    if (!WriteFile(FFile.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                   nullptr) ||
        written != bytes.size()) {
        // A journal with a gap could undo the wrong thing: no more lines go into it.
        FFile.reset();
        return false;
    }
    return true;
}

TUniqueFile OpenRollbackJournal(const std::wstring& path) {
    return TUniqueFile(CreateFileW(path.c_str(), GENERIC_READ | READ_CONTROL,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool ReadRollbackJournal(const std::wstring& path, std::vector<TJournalLine>& lines) {
    const TUniqueFile file = OpenRollbackJournal(path);
    return file && ReadRollbackJournal(file.get(), lines);
}

bool ReadRollbackJournal(HANDLE file, std::vector<TJournalLine>& lines) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > 512 * 1024 * 1024) {
        return false;
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    std::wstring text;
    if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read != bytes.size() || !bytes.starts_with("\xEF\xBB\xBF") ||
        !FromUtf8(bytes.substr(3), text)) {
        return false;
    }
    lines.clear();
    size_t start = 0;
    bool first = true;
    for (size_t end; (end = text.find(L"\r\n", start)) != text.npos; start = end + 2) {
        const std::wstring row = text.substr(start, end - start);
        if (first) {
            if (row != Header) {
                return false;
            }
            first = false;
            continue;
        }
        TJournalLine line;
        if (!Parse(row, line)) {
            return false;
        }
        lines.push_back(std::move(line));
    }
    return !first && !lines.empty() && lines.front().Kind == TJournalKind::jkTarget;
}
