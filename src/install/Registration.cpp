#include "install/Registration.h"

#include "common/AppStrings.h"
#include "common/CanonicalPath.h"
#include "common/Handles.h"
#include "common/Paths.h"
#include "common/Registry.h"
#include "common/VersionInfo.h"
#include "install/InstallRecord.h"

#include <windows.h>

#include <cstdio>

namespace {

bool SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          bytes) == ERROR_SUCCESS;
}

bool SetNumber(HKEY key, const wchar_t* name, DWORD value) {
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value) == ERROR_SUCCESS;
}

std::wstring Today() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t text[16];
    swprintf(text, 16, L"%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
    return text;
}

DWORD Kibibytes(std::uint64_t bytes) {
    const std::uint64_t kib = (bytes + 1023) / 1024;
    return kib > MAXDWORD ? MAXDWORD : static_cast<DWORD>(kib);
}

} // namespace

bool WriteRegistration(const std::wstring& target, std::uint64_t installedBytes) {
    const TUniqueKey key = OpenOrCreateKey(HKEY_LOCAL_MACHINE, RegistrationKey);
    if (!key) {
        return false;
    }
    const HINSTANCE self = GetModuleHandleW(nullptr);
    const std::wstring program = ExecutablePath();
    const std::wstring uninstaller = L"\"" + target + UninstallerName + L"\"";
    const HKEY k = key.get();
    return SetString(k, L"DisplayName", ProductName(self)) &&
           SetString(k, L"DisplayVersion", ReadVersionString(program, L"ProductVersion")) &&
           SetString(k, L"Publisher", ReadVersionString(program, L"CompanyName")) &&
           SetString(k, L"InstallLocation", target) && SetString(k, L"InstallDate", Today()) &&
           SetString(k, L"DisplayIcon", target + MainExecutableName(self)) &&
           SetString(k, L"UninstallString", uninstaller) &&
           SetString(k, L"QuietUninstallString", uninstaller + L" /VERYSILENT") &&
           SetNumber(k, L"EstimatedSize", Kibibytes(installedBytes)) &&
           SetNumber(k, L"NoModify", 1) && SetNumber(k, L"NoRepair", 1);
}

std::wstring RegisteredLocation() {
    return ReadSubkeyString(HKEY_LOCAL_MACHINE, RegistrationKey, L"InstallLocation");
}

bool RemoveRegistration(const std::wstring& target) {
    // An entry written by an earlier version may spell the folder otherwise ("C:/Holter\").
    const std::wstring location = CanonicalFolder(RegisteredLocation());
    if (location.empty() || !SamePath(location, CanonicalFolder(target))) {
        return true;
    }
    return RegDeleteTreeW(HKEY_LOCAL_MACHINE, RegistrationKey) == ERROR_SUCCESS;
}
