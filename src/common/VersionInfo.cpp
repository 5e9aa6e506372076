#include "common/VersionInfo.h"

#include "common/SystemLibrary.h"

#include <windows.h>

#include <cstdio>
#include <vector>

std::wstring ReadVersionString(const std::wstring& file, const std::wstring& name) {
    const TVersionFunctions& version = VersionFunctions();
    if (!version.GetFileVersionInfoSizeW || !version.GetFileVersionInfoW ||
        !version.VerQueryValueW) {
        return {};
    }
    DWORD ignored = 0;
    const DWORD size = version.GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) {
        return {};
    }
    std::vector<BYTE> data(size);
    if (!version.GetFileVersionInfoW(file.c_str(), 0, size, data.data())) {
        return {};
    }
    struct TTranslation {
        WORD Language;
        WORD CodePage;
    };
    TTranslation* translation = nullptr;
    UINT length = 0;
    wchar_t block[64] = L"\\StringFileInfo\\041904E3\\";
    if (version.VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length) &&
        length >= sizeof(TTranslation)) {
        swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\", translation->Language,
                 translation->CodePage);
    }
    wchar_t* value = nullptr;
    if (!version.VerQueryValueW(data.data(), (block + name).c_str(),
                                reinterpret_cast<void**>(&value), &length) ||
        length == 0) {
        return {};
    }
    return std::wstring(value, wcsnlen(value, length));
}
