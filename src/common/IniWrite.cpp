#include "common/IniWrite.h"

#include "common/Errors.h"

#include <windows.h>

void IniWriteString(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                    const std::wstring& value) {
    if (!WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), file.c_str())) {
        RaiseLastOSError(L"Не удалось записать файл " + file);
    }
}

void IniWriteInteger(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                     int value) {
    IniWriteString(file, section, key, std::to_wstring(value));
}
