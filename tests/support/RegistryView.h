#pragma once
#include "common/Handles.h"

#include <string>

// The registry as Windows shows it to a program of this build. On 64-bit Windows a 32-bit
// program's HKLM\Software is the 32-bit view (HKLM\Software\WOW6432Node), a 64-bit program's
// the 64-bit one. Checks open keys in a named view, so that a value that went into the other
// view is not found where the program under test should have put it.
namespace regview {

inline constexpr bool ThirtyTwoBit = sizeof(void*) == 4;
inline constexpr REGSAM Own = ThirtyTwoBit ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
inline constexpr REGSAM Other = ThirtyTwoBit ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
inline constexpr const wchar_t* OwnName =
    ThirtyTwoBit ? L"the 32-bit view (WOW6432Node)" : L"the 64-bit view";
inline constexpr const wchar_t* OtherName =
    ThirtyTwoBit ? L"the 64-bit view" : L"the 32-bit view (WOW6432Node)";

// False on 32-bit Windows, whose registry has one view only.
inline bool TwoViews() {
    BOOL wow64 = FALSE;
    return !ThirtyTwoBit || (IsWow64Process(GetCurrentProcess(), &wow64) && wow64);
}

// A key under HKEY_LOCAL_MACHINE in view; empty when it cannot be opened.
inline TUniqueKey OpenMachineKey(const std::wstring& key, REGSAM view, REGSAM access = KEY_READ) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, access | view, &opened) !=
        ERROR_SUCCESS) {
        return {};
    }
    return TUniqueKey(opened);
}

// Removes key and everything below it under HKEY_LOCAL_MACHINE, in both views. False when it
// is still there in either.
inline bool DeleteMachineTree(const std::wstring& key) {
    const size_t last = key.rfind(L'\\');
    const std::wstring parent = key.substr(0, last), name = key.substr(last + 1);
    bool gone = true;
    for (REGSAM view : {Own, Other}) {
        if (const TUniqueKey opened = OpenMachineKey(parent, view, KEY_ALL_ACCESS)) {
            const LSTATUS status = RegDeleteTreeW(opened.get(), name.c_str());
            gone = gone && (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND);
        }
    }
    return gone;
}

} // namespace regview
