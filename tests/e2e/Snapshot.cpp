#include "Snapshot.h"

#include <algorithm>
#include <cwchar>

#include "FaultFiles.h"
#include "Machine.h"
#include "Scenario.h"
#include "common/Handles.h"

namespace e2e {
namespace {

constexpr wchar_t PendingKey[] = L"Software\\Sontira\\Setup";
constexpr wchar_t PendingValue[] = L"RollbackJournal";

ULONGLONG Ticks(const FILETIME& time) {
    return ULONGLONG(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

bool IsFolder(const TItem& item) {
    return (item.Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// "2026-12-10 14:35:12.1234567" (UTC), to the 100 ns that Windows keeps.
std::wstring TimeText(ULONGLONG ticks) {
    const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc{};
    FileTimeToSystemTime(&time, &utc);
    wchar_t text[40];
    swprintf(text, 40, L"%04u-%02u-%02u %02u:%02u:%02u.%07llu", utc.wYear, utc.wMonth, utc.wDay,
             utc.wHour, utc.wMinute, utc.wSecond, ticks % 10000000);
    return text;
}

std::wstring Hex(DWORD value) {
    wchar_t text[16];
    swprintf(text, 16, L"0x%lX", static_cast<unsigned long>(value));
    return text;
}

TItem ItemOf(DWORD attributes, const FILETIME& written, DWORD sizeHigh, DWORD sizeLow) {
    TItem item;
    item.Attributes = attributes;
    item.Written = Ticks(written);
    item.Size = ULONGLONG(sizeHigh) << 32 | sizeLow;
    return item;
}

// Hidden entries too (the run's rollback folder is hidden); links are listed, never followed.
void Walk(const std::wstring& folder, const std::wstring& prefix, bool withBytes, TItems& items) {
    WIN32_FIND_DATAW found{};
    TUniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &found));
    for (bool more = static_cast<bool>(find); more; more = FindNextFileW(find.get(), &found)) {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        const std::wstring path = folder + L"\\" + name;
        TItem item = ItemOf(found.dwFileAttributes, found.ftLastWriteTime, found.nFileSizeHigh,
                            found.nFileSizeLow);
        if (!IsFolder(item) && withBytes) {
            item.Bytes = ReadBytes(path);
        }
        items[prefix + name] = item;
        if (IsFolder(item) && (item.Attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
            Walk(path, prefix + name + L"\\", withBytes, items);
        }
    }
}

// The folder's own item under "", then everything below it; nothing when it does not exist.
TItems Tree(const std::wstring& folder, bool withBytes) {
    TItems items;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(folder.c_str(), GetFileExInfoStandard, &data)) {
        return items;
    }
    items[L""] = ItemOf(data.dwFileAttributes, data.ftLastWriteTime, 0, 0);
    Walk(folder, L"", withBytes, items);
    return items;
}

// Each value as "type N: <bytes in hex>", exactly as stored.
std::map<std::wstring, std::wstring> Values(const wchar_t* keyName) {
    std::map<std::wstring, std::wstring> values;
    TUniqueKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyName, 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
        return values;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[16384];
        DWORD nameLength = 16384;
        DWORD type = 0;
        std::vector<BYTE> data(65536);
        DWORD size = static_cast<DWORD>(data.size());
        if (RegEnumValueW(key.get(), index, name, &nameLength, nullptr, &type, data.data(),
                          &size) != ERROR_SUCCESS) {
            return values;
        }
        std::wstring text = L"type " + std::to_wstring(type) + L":";
        for (DWORD i = 0; i < size; ++i) {
            wchar_t pair[4];
            swprintf(pair, 4, L"%02x", data[i]);
            text += pair;
        }
        values[std::wstring(name, nameLength)] = text;
    }
}

std::wstring Shown(const std::wstring& name) {
    return name.empty() ? L"(the folder itself)" : name;
}

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

// What differs in one item, "" when nothing does.
std::wstring ItemChange(const TItem& was, const TItem& now, bool appended) {
    std::wstring change;
    const auto add = [&](const std::wstring& part) {
        change += (change.empty() ? L"" : L"; ") + part;
    };
    if (appended) {
        if (!StartsWith(now.Bytes, was.Bytes)) {
            add(L"its earlier content is gone");
        }
    } else {
        if (was.Bytes != now.Bytes) {
            add(L"content");
        }
        if (was.Size != now.Size) {
            add(L"size " + std::to_wstring(was.Size) + L" -> " + std::to_wstring(now.Size));
        }
        if (was.Written != now.Written) {
            add(L"last-write time " + TimeText(was.Written) + L" -> " + TimeText(now.Written));
        }
    }
    if (was.Attributes != now.Attributes) {
        add(L"attributes " + Hex(was.Attributes) + L" -> " + Hex(now.Attributes));
    }
    return change;
}

class TDiff {
public:
    TDiff(TContext& context, std::wstring when) : FContext(context), FWhen(std::move(when)) {}

    // A folder that appeared or went is named once, not with everything in it.
    void Items(const std::wstring& what, const TItems& before, const TItems& now,
               const std::vector<std::wstring>& appended = {}) {
        std::vector<std::wstring> named;
        const auto below = [&](const std::wstring& name) {
            return std::any_of(named.begin(), named.end(), [&](const std::wstring& folder) {
                return folder.empty() || name.starts_with(folder + L"\\");
            });
        };
        const auto missing = [&](const TItems& in, const TItems& from, const wchar_t* how) {
            for (const auto& [name, item] : from) {
                if (in.contains(name) || below(name)) {
                    continue;
                }
                Report(what + (IsFolder(item) ? L"folder " : L"file ") + how + Shown(name));
                if (IsFolder(item)) {
                    named.push_back(name);
                }
            }
        };
        missing(now, before, L"gone: ");
        named.clear();
        missing(before, now, L"appeared: ");
        for (const auto& [name, was] : before) {
            const auto at = now.find(name);
            if (at == now.end()) {
                continue;
            }
            const bool grows = std::find(appended.begin(), appended.end(), name) != appended.end();
            const std::wstring change = ItemChange(was, at->second, grows);
            if (!change.empty()) {
                Report(what + (IsFolder(was) ? L"folder " : L"file ") + L"changed: " + Shown(name) +
                       L" (" + change + L")");
            }
        }
    }

    void Values(const std::wstring& what, const std::map<std::wstring, std::wstring>& before,
                const std::map<std::wstring, std::wstring>& now) {
        for (const auto& [name, value] : before) {
            const auto at = now.find(name);
            if (at == now.end()) {
                Report(what + L"value gone: \"" + name + L"\"");
            } else if (at->second != value) {
                Report(what + L"value changed: \"" + name + L"\" (" + value + L" -> " + at->second +
                       L")");
            }
        }
        for (const auto& [name, value] : now) {
            if (!before.contains(name)) {
                Report(what + L"value appeared: \"" + name + L"\" (" + value + L")");
            }
        }
    }

    void Report(const std::wstring& difference) { FContext.Check(false, FWhen + difference); }

private:
    TContext& FContext;
    std::wstring FWhen;
};

} // namespace

std::wstring PendingRollbackJournal() {
    std::wstring journal;
    return ReadMachineString(PendingKey, PendingValue, journal) ? journal : L"";
}

TSnapshot TakeSnapshot(const std::wstring& target) {
    TSnapshot snapshot;
    snapshot.Target = target;
    snapshot.Tree = Tree(target.substr(0, target.size() - 1), true);
    const std::wstring fonts = WindowsFontsFolder();
    // The folder's own time is not the suite's: only the fonts in it.
    snapshot.Fonts = Tree(fonts.substr(0, fonts.size() - 1), false);
    snapshot.Fonts.erase(L"");
    snapshot.FontValues = Values(FontsKey);
    snapshot.Entry = Values(RegistrationKey);
    const std::wstring link = DesktopFolder() + ShortcutName;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW(link.c_str(), GetFileExInfoStandard, &data)) {
        TItem item = ItemOf(data.dwFileAttributes, data.ftLastWriteTime, data.nFileSizeHigh,
                            data.nFileSizeLow);
        item.Bytes = ReadBytes(link);
        snapshot.Shortcut[ShortcutName] = item;
    }
    snapshot.PendingJournal = PendingRollbackJournal();
    return snapshot;
}

void CheckSnapshot(TContext& context, const TSnapshot& before, const std::wstring& when,
                   const std::vector<std::wstring>& appended) {
    const TSnapshot now = TakeSnapshot(before.Target);
    TDiff diff(context, when);
    diff.Items(L"target " + before.Target + L": ", before.Tree, now.Tree, appended);
    diff.Items(L"fonts folder: ", before.Fonts, now.Fonts);
    diff.Values(L"fonts key: ", before.FontValues, now.FontValues);
    diff.Values(L"Programs and Features entry: ", before.Entry, now.Entry);
    diff.Items(L"desktop: ", before.Shortcut, now.Shortcut);
    if (now.PendingJournal != before.PendingJournal) {
        diff.Report(L"the rollback journal named for the next start is \"" + now.PendingJournal +
                    L"\", was \"" + before.PendingJournal + L"\"");
    }
}

} // namespace e2e
