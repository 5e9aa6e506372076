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

// What the entry holds besides its date and size; a number where Text is empty.
struct TEntryValue {
    const wchar_t* Name;
    std::wstring Text;
    DWORD Number = 0;
};

std::vector<TEntryValue> EntryValues(const std::wstring& target, const std::wstring& source) {
    const HINSTANCE self = GetModuleHandleW(nullptr);
    const std::wstring program = ExecutablePath();
    const std::wstring uninstaller = L"\"" + target + UninstallerName + L"\"";
    std::vector<TEntryValue> values{
        {L"DisplayName", ProductName(self)},
        {L"DisplayVersion", ReadVersionString(program, L"ProductVersion")},
        {L"Publisher", ReadVersionString(program, L"CompanyName")},
        {L"InstallLocation", target},
        {L"DisplayIcon", target + MainExecutableName(self)},
        {L"UninstallString", uninstaller},
        {L"QuietUninstallString", uninstaller + L" /VERYSILENT"},
        // Programs and Features' "Repair" runs ModifyPath of an entry that is no installer's.
        {L"ModifyPath", uninstaller + L" /REPAIR"},
        {L"NoModify", L"", 1},
        {L"NoRepair", L"", 0},
    };
    if (!source.empty()) {
        values.push_back({L"InstallSource", source});
    }
    return values;
}

bool IsStored(HKEY key, const TEntryValue& value) {
    if (!value.Text.empty()) {
        return ReadSubkeyString(key, L"", value.Name) == value.Text;
    }
    DWORD number = 0;
    DWORD bytes = sizeof number;
    return RegGetValueW(key, nullptr, value.Name, RRF_RT_REG_DWORD, nullptr, &number, &bytes) ==
               ERROR_SUCCESS &&
           number == value.Number;
}

} // namespace

bool WriteRegistration(const std::wstring& target, std::uint64_t installedBytes,
                       const std::wstring& source, const std::wstring& installDate) {
    const TUniqueKey key = OpenOrCreateKey(HKEY_LOCAL_MACHINE, RegistrationKey);
    if (!key) {
        return false;
    }
    const HKEY k = key.get();
    for (const TEntryValue& value : EntryValues(target, source)) {
        if (!(value.Text.empty() ? SetNumber(k, value.Name, value.Number)
                                 : SetString(k, value.Name, value.Text))) {
            return false;
        }
    }
    return SetString(k, L"InstallDate", installDate.empty() ? Today() : installDate) &&
           SetNumber(k, L"EstimatedSize", Kibibytes(installedBytes));
}

TEntryCheck CheckRegistration(const std::wstring& target, const std::wstring& source) {
    TEntryCheck check;
    TUniqueKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, RegistrationKey, 0, KEY_READ, key.put()) !=
        ERROR_SUCCESS) {
        return check;
    }
    check.Location = ReadSubkeyString(key.get(), L"", L"InstallLocation");
    // A later installation elsewhere owns the one entry.
    if (!check.Location.empty() && !SamePath(IncludeTrailingPathDelimiter(check.Location),
                                             IncludeTrailingPathDelimiter(target))) {
        check.State = TEntryCheck::ecOtherFolder;
        return check;
    }
    for (const TEntryValue& value : EntryValues(target, source)) {
        if (!IsStored(key.get(), value)) {
            check.Differs.push_back(value.Name);
        }
    }
    check.State = check.Differs.empty() ? TEntryCheck::ecRight : TEntryCheck::ecDiffers;
    return check;
}

std::wstring RegisteredDate() {
    return ReadSubkeyString(HKEY_LOCAL_MACHINE, RegistrationKey, L"InstallDate");
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
