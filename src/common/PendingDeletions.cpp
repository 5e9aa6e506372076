#include "common/PendingDeletions.h"

#include "common/CanonicalPath.h"
#include "common/Handles.h"
#include "common/Paths.h"

#include <windows.h>

#include <algorithm>

namespace {

const wchar_t* const SessionManager = L"System\\CurrentControlSet\\Control\\Session Manager";
const wchar_t* const ValueName = L"PendingFileRenameOperations";
const wchar_t* const NtPrefix = L"\\??\\";

// The value's strings, empty ones included (they are the "delete" of a pair).
std::vector<std::wstring> ReadList(HKEY key) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, ValueName, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        type != REG_MULTI_SZ) {
        return {};
    }
    std::wstring data(bytes / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key, ValueName, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &bytes) != ERROR_SUCCESS) {
        return {};
    }
    data.resize(bytes / sizeof(wchar_t));
    std::vector<std::wstring> list;
    for (size_t start = 0; start < data.size();) {
        const size_t end = std::min(data.find(L'\0', start), data.size());
        list.push_back(data.substr(start, end - start));
        start = end + 1;
    }
    // Empty strings are the "delete" of a pair, so only what is left over after the last whole
    // pair is the list's terminator.
    while (!list.empty() && list.back().empty() &&
           (list.size() % 2 == 1 || list[list.size() - 2].empty())) {
        list.pop_back();
    }
    return list;
}

bool WriteList(HKEY key, const std::vector<std::wstring>& list) {
    if (list.empty()) {
        const LSTATUS status = RegDeleteValueW(key, ValueName);
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }
    std::wstring data;
    for (const std::wstring& item : list) {
        data += item + L'\0';
    }
    data += L'\0';
    return RegSetValueExW(key, ValueName, 0, REG_MULTI_SZ,
                          reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// The file a pair deletes, or empty when the pair renames.
std::wstring DeletedFile(const std::vector<std::wstring>& list, size_t pair) {
    const std::wstring& source = list[pair];
    const bool deletes = pair + 1 < list.size() && list[pair + 1].empty();
    return deletes && source.starts_with(NtPrefix) ? source.substr(4) : std::wstring();
}

bool SameFile(const std::wstring& a, const std::wstring& b) {
    return SamePath(CanonicalFile(a), CanonicalFile(b));
}

} // namespace

TPendingDeletions::TPendingDeletions(const std::wstring& folder) {
    TUniqueKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SessionManager, 0, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS) {
        return;
    }
    const std::vector<std::wstring> list = ReadList(key.get());
    for (size_t pair = 0; pair + 1 < list.size(); pair += 2) {
        const std::wstring file = DeletedFile(list, pair);
        if (!file.empty() && IsBelow(CanonicalFile(file), folder)) {
            FPaths.push_back(file);
        }
    }
}

bool TPendingDeletions::Pending(const std::wstring& path) const {
    return std::any_of(FPaths.begin(), FPaths.end(),
                       [&](const std::wstring& file) { return SameFile(file, path); });
}

bool TPendingDeletions::Cancel(const std::wstring& path) {
    TUniqueKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SessionManager, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                      key.put()) != ERROR_SUCCESS) {
        return false;
    }
    std::vector<std::wstring> list = ReadList(key.get());
    std::vector<std::wstring> kept;
    for (size_t pair = 0; pair + 1 < list.size(); pair += 2) {
        const std::wstring file = DeletedFile(list, pair);
        if (file.empty() || !SameFile(file, path)) {
            kept.push_back(list[pair]);
            kept.push_back(list[pair + 1]);
        }
    }
    std::erase_if(FPaths, [&](const std::wstring& file) { return SameFile(file, path); });
    return kept.size() == list.size() || WriteList(key.get(), kept);
}
