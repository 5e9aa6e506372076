#include "integration/FontRegistry.h"

#include "common/Checked.h"
#include "common/Errors.h"
#include "common/Handles.h"
#include "common/Paths.h"
#include "common/Registry.h"

namespace {

[[noreturn]] void RaiseRegistryError(const std::wstring& valueName, LSTATUS status) {
    throw EError(L"Не удалось записать параметр реестра \"" + valueName + L"\": " +
                 SysErrorMessage(static_cast<DWORD>(status)));
}

} // namespace

void RegisterFont(const std::wstring& ValueName, const std::wstring& FileName) {
    // Opened, never created: a system without the key is not one to register fonts on.
    TUniqueKey key;
    LSTATUS status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, FontsKey, 0, KEY_ALL_ACCESS, key.put());
    if (status != ERROR_SUCCESS) {
        RaiseRegistryError(ValueName, status);
    }
    const DWORD bytes = RangeChecked<DWORD>((FileName.size() + 1) * sizeof(wchar_t));
    status = RegSetValueExW(key.get(), ValueName.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(FileName.c_str()), bytes);
    if (status != ERROR_SUCCESS) {
        RaiseRegistryError(ValueName, status);
    }
    // Windows loads the font from this value at the next sign-in; a crash or power cut
    // before the lazy writer runs must not lose it.
    RegFlushKey(key.get());
}

bool IsFontRegistered(const std::wstring& ValueName, const std::wstring& FileName) {
    const std::wstring value = ReadSubkeyString(HKEY_LOCAL_MACHINE, FontsKey, ValueName);
    const std::wstring name = ExtractFileName(value);
    return !value.empty() &&
           CompareStringOrdinal(name.c_str(), -1, FileName.c_str(), -1, TRUE) == CSTR_EQUAL;
}
