#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct TDirEntry {
    std::wstring Name;
    DWORD Attributes;
    unsigned long long Size = 0;      // files
    unsigned long long WriteTime = 0; // FILETIME, UTC, as one number
    bool IsDirectory() const { return (Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};

// A time kept as one number, back in the system's form.
inline FILETIME ToFileTime(unsigned long long ticks) {
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

// Attribute sets that enumerations ask for.
constexpr DWORD faDirectory = FILE_ATTRIBUTE_DIRECTORY; // 0x10
constexpr DWORD faAnyFile = 0x1EF;                      // every attribute except directory

// The entries matching a mask such as L"C:\\x\\*.*", in the file system's order. An entry is
// passed over when it carries hidden, system or directory and the wanted set lacks it: so
// wanting faDirectory still yields plain files, but never hidden or system ones. "." and ".."
// are returned like any other entry. An unreadable or missing folder gives no entries.
std::vector<TDirEntry> ListDirEntries(const std::wstring& mask, DWORD wanted);

inline bool IsDotEntry(const std::wstring& name) {
    return name == L"." || name == L"..";
}
