#include "common/CanonicalPath.h"

#include "common/Handles.h"
#include "common/Paths.h"

#include <algorithm>
#include <cwctype>
#include <string_view>
#include <vector>

namespace {

bool IsDelimiter(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// GetFullPathNameW, whatever the length.
std::wstring FullPath(const std::wstring& path) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()),
                                              buffer.data(), nullptr);
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            return std::wstring(buffer.data(), length);
        }
        buffer.resize(length + 1);
    }
}

// "\\?\C:\x" is "C:\x" and "\\?\UNC\server\share" is "\\server\share"; the prefix only turns
// Windows' own checks off.
std::wstring WithoutLongPrefix(const std::wstring& path) {
    if (path.starts_with(L"\\\\?\\UNC\\")) {
        return L"\\\\" + path.substr(8);
    }
    if (path.starts_with(L"\\\\?\\")) {
        return path.substr(4);
    }
    return path;
}

// The length of "C:\" or "\\server\share\" at the start of a full path; 0 when there is none.
size_t RootLength(const std::wstring& full) {
    if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\' && iswalpha(full[0])) {
        return 3;
    }
    if (!full.starts_with(L"\\\\") || full.size() < 5 || full[2] == L'\\' || full[2] == L'.' ||
        full[2] == L'?') {
        return 0;
    }
    const size_t server = full.find(L'\\', 2);
    if (server == std::wstring::npos || server + 1 >= full.size()) {
        return 0;
    }
    const size_t share = full.find(L'\\', server + 1);
    return share == std::wstring::npos ? full.size() : share + 1;
}

std::wstring DropTrailingDotsAndBlanks(std::wstring part) {
    while (!part.empty() && (part.back() == L'.' || part.back() == L' ')) {
        part.pop_back();
    }
    return part;
}

bool IsDeviceName(const std::wstring& name) {
    // A device keeps its meaning with an extension and with blanks before it ("nul .txt").
    std::wstring base = name.substr(0, name.find(L'.'));
    while (!base.empty() && base.back() == L' ') {
        base.pop_back();
    }
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"}) {
        if (SamePath(base, device)) {
            return true;
        }
    }
    return base.size() == 4 &&
           (SamePath(base.substr(0, 3), L"COM") || SamePath(base.substr(0, 3), L"LPT")) &&
           base[3] >= L'1' && base[3] <= L'9';
}

// The full path with a trailing delimiter, checked part by part; empty when it is no folder.
std::wstring CanonicalForm(const std::wstring& path) {
    std::wstring text = WithoutLongPrefix(path);
    while (!text.empty() && IsDelimiter(text.back())) {
        text.pop_back();
    }
    // "C:" alone would be the drive's current folder; what was meant is its root.
    if (text.size() == 2 && text[1] == L':') {
        text += L'\\';
    }
    if (text.empty()) {
        return {};
    }
    const std::wstring full = FullPath(text);
    const size_t root = RootLength(full);
    if (root == 0) {
        return {}; // a device ("\\.\NUL") or something else that is no folder
    }
    std::wstring result = full.substr(0, root);
    if (result.back() != L'\\') {
        result += L'\\';
    }
    for (size_t start = root; start < full.size();) {
        const size_t end = std::min(full.find(L'\\', start), full.size());
        const std::wstring part = DropTrailingDotsAndBlanks(full.substr(start, end - start));
        if (end > start) {
            if (!IsPlainName(part)) {
                return {};
            }
            result += part + L'\\';
        }
        start = end + 1;
    }
    return result;
}

std::wstring SystemFolder(UINT(WINAPI* query)(LPWSTR, UINT)) {
    wchar_t buffer[MAX_PATH];
    const UINT length = query(buffer, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::wstring()
                                             : CanonicalFolder(std::wstring(buffer, length));
}

} // namespace

std::wstring CanonicalFolder(const std::wstring& path) {
    return CanonicalForm(path);
}

std::wstring CanonicalFile(const std::wstring& path) {
    const std::wstring folder = CanonicalForm(path);
    if (folder.empty() || IsRootFolder(folder)) {
        return {};
    }
    return folder.substr(0, folder.size() - 1);
}

bool IsRootFolder(const std::wstring& canonical) {
    return !canonical.empty() && RootLength(canonical) == canonical.size();
}

bool IsSystemFolder(const std::wstring& canonical) {
    const std::wstring windows = SystemFolder(GetWindowsDirectoryW);
    const std::wstring folders[] = {
        windows, SystemFolder(GetSystemWindowsDirectoryW), SystemFolder(GetSystemDirectoryW),
        SystemFolder(GetSystemWow64DirectoryW), windows.empty() ? L"" : windows + L"Sysnative\\"};
    for (const std::wstring& folder : folders) {
        if (!folder.empty() && SamePath(folder, canonical)) {
            return true;
        }
    }
    return false;
}

bool IsPlainName(const std::wstring& name) {
    if (name.empty() || name == L"." || name == L".." || name.back() == L'.' ||
        name.back() == L' ' || IsDeviceName(name)) {
        return false;
    }
    for (wchar_t c : name) {
        if (c < L' ' || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos) {
            return false;
        }
    }
    return true;
}

bool IsBelow(const std::wstring& path, const std::wstring& folder) {
    return !folder.empty() && folder.back() == L'\\' && path.size() > folder.size() &&
           StartsWithPath(path, folder);
}

std::wstring RealPath(HANDLE handle) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            return WithoutLongPrefix(std::wstring(buffer.data(), length));
        }
        buffer.resize(length + 1);
    }
}

std::wstring RealFolder(const std::wstring& folder) {
    // Asking needs no right to the folder's contents, and shares everything.
    const TUniqueFile handle(CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                         nullptr));
    const std::wstring real = handle ? RealPath(handle.get()) : std::wstring();
    return real.empty() ? real : IncludeTrailingPathDelimiter(real);
}
