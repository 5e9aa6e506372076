#pragma once
#include <string>

// Where Windows lists the machine's fonts, below HKLM.
inline constexpr wchar_t FontsKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

// Registers the font file FileName (a name inside the Windows fonts folder) for the machine
// under the value ValueName, written through to disk at once. Raises EError naming the value
// when the key cannot be opened or the value cannot be written.
void RegisterFont(const std::wstring& ValueName, const std::wstring& FileName);

// Whether ValueName is registered for the machine and names FileName (a name inside the
// Windows fonts folder, or its full path there), compared ignoring case.
bool IsFontRegistered(const std::wstring& ValueName, const std::wstring& FileName);
