#include "integration/FontFaceName.h"

#include "common/Handles.h"
#include "integration/FontResource.h"
#include "integration/TrueTypeName.h"

#include <vector>

namespace {

using TGetFontResourceInfoW = BOOL(WINAPI*)(LPCWSTR, LPDWORD, LPVOID, DWORD);
constexpr DWORD QueryDescription = 1;

// A font file is a few megabytes at most; anything far larger is not one we ship.
constexpr LONGLONG MaxFontFileSize = 64LL * 1024 * 1024;

// gdi32 does not declare this query, and not every system exports it: look it up by name.
TGetFontResourceInfoW FindFontResourceInfo() {
    HMODULE gdi = GetModuleHandleW(L"gdi32.dll");
    if (gdi == nullptr) {
        return nullptr;
    }
    FARPROC proc = GetProcAddress(gdi, "GetFontResourceInfoW");
    return reinterpret_cast<TGetFontResourceInfoW>(reinterpret_cast<void*>(proc));
}

std::wstring QueryFontDescription(const std::wstring& fontPath) {
    TGetFontResourceInfoW query = FindFontResourceInfo();
    if (query == nullptr) {
        return {};
    }
    TFontResource font(fontPath);
    if (!font.Added()) {
        return {};
    }
    std::vector<wchar_t> path(fontPath.begin(), fontPath.end());
    path.push_back(L'\0');
    DWORD size = 0;
    query(path.data(), &size, nullptr, QueryDescription);
    if (size == 0) {
        return {};
    }
    // One unit more than asked for: an odd byte count or a missing terminator still ends in NUL.
    std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
    query(path.data(), &size, text.data(), QueryDescription);
    return text.data();
}

std::vector<unsigned char> ReadSmallFile(const std::wstring& path) {
    TUniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > MaxFontFileSize) {
        return {};
    }
    std::vector<unsigned char> data(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &read, nullptr) ||
        read != data.size()) {
        return {};
    }
    return data;
}

// Where the system's query is missing or a stub (Wine answers nothing), the full name
// comes from the file's own name table.
std::wstring ReadNameTableFullName(const std::wstring& fontPath) {
    const std::vector<unsigned char> data = ReadSmallFile(fontPath);
    const std::u16string name = ReadTrueTypeFullName(data.data(), data.size());
    return std::wstring(name.begin(), name.end());
}

} // namespace

std::wstring ReadFontFaceName(const std::wstring& FontPath) {
    std::wstring description = QueryFontDescription(FontPath);
    if (description.empty()) {
        description = ReadNameTableFullName(FontPath);
    }
    return description;
}
