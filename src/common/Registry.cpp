#include "common/Registry.h"

TUniqueKey OpenOrCreateKey(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return TUniqueKey();
    }
    return TUniqueKey(key);
}

std::wstring ReadSubkeyString(HKEY key, const std::wstring& subkey, const std::wstring& name) {
    if (key == nullptr) {
        return {};
    }
    const DWORD flags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    // The value may grow between the two calls: ask again until it fits.
    for (;;) {
        DWORD bytes = 0;
        if (RegGetValueW(key, subkey.c_str(), name.c_str(), flags, nullptr, nullptr, &bytes) !=
            ERROR_SUCCESS) {
            return {};
        }
        std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        const LSTATUS status =
            RegGetValueW(key, subkey.c_str(), name.c_str(), flags, nullptr, text.data(), &bytes);
        if (status == ERROR_MORE_DATA) {
            continue;
        }
        if (status != ERROR_SUCCESS) {
            return {};
        }
        text.resize(wcsnlen(text.c_str(), text.size()));
        return text;
    }
}

bool ReadRawValue(HKEY root, const std::wstring& key, const std::wstring& name, DWORD& type,
                  std::vector<BYTE>& data) {
    const DWORD flags = RRF_RT_ANY | RRF_NOEXPAND;
    for (;;) {
        DWORD bytes = 0;
        if (RegGetValueW(root, key.c_str(), name.c_str(), flags, &type, nullptr, &bytes) !=
            ERROR_SUCCESS) {
            return false;
        }
        data.resize(bytes);
        const LSTATUS status =
            RegGetValueW(root, key.c_str(), name.c_str(), flags, &type, data.data(), &bytes);
        if (status == ERROR_MORE_DATA) {
            continue;
        }
        data.resize(bytes);
        return status == ERROR_SUCCESS;
    }
}
