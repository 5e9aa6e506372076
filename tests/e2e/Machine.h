#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// The machine around the installations. One run of e2e.exe shares one Wine prefix, so a
// scenario that wants a machine without the suite clears what an earlier one left.

std::wstring WindowsFontsFolder(); // ends in "\"
std::wstring DesktopFolder();      // ends in "\"
constexpr wchar_t FontsKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
constexpr wchar_t ShortcutName[] = L"Сонтира.lnk";
// Programs and Features: the list's key and the suite's entry in it, both read in the
// registry view of the build under test (support/RegistryView.h), where Install.exe puts it.
constexpr wchar_t UninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr wchar_t RegistrationKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sontira";
constexpr wchar_t SessionManagerKey[] = L"System\\CurrentControlSet\\Control\\Session Manager";

// Moves an earlier installation in target aside (target-earlier-N), removes the suite's fonts
// (files and registry values), the desktop shortcut and the Programs and Features entry.
void RemoveSuite(const std::wstring& target);
// The suite's fonts alone: their files and their registry values.
void RemoveSuiteFonts();

// The shipped fonts whose files the Windows fonts folder lacks: the ones a run installs.
std::vector<std::wstring> MissingFonts();

// A string value under HKEY_LOCAL_MACHINE, in the given registry view or the process's own;
// false when there is none.
bool ReadMachineString(const wchar_t* key, const std::wstring& name, std::wstring& value,
                       REGSAM view = 0);
// The same for a REG_DWORD and a REG_MULTI_SZ value.
bool ReadMachineDword(const wchar_t* key, const std::wstring& name, DWORD& value, REGSAM view = 0);
bool ReadMachineStrings(const wchar_t* key, const std::wstring& name,
                        std::vector<std::wstring>& values, REGSAM view = 0);

// The screen's logical pixels per inch for the programs started while it lives (each process
// reads the value when it starts); the earlier setting comes back at the end.
class TScreenDpi {
public:
    explicit TScreenDpi(DWORD logPixels);
    TScreenDpi(const TScreenDpi&) = delete;
    TScreenDpi& operator=(const TScreenDpi&) = delete;
    ~TScreenDpi();

private:
    bool FHadValue = false;
    DWORD FOldValue = 0;
};

} // namespace e2e
