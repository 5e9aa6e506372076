#include "wizard/Brand.h"

#include "common/Errors.h"

#include <windows.h>

namespace {
std::wstring UpperCase(const std::wstring& text) {
    if (text.empty()) {
        return text;
    }
    const DWORD flags = LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING;
    const int length =
        LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, text.c_str(), static_cast<int>(text.size()),
                      nullptr, 0, nullptr, nullptr, 0);
    if (length <= 0) {
        RaiseLastOSError(L"LCMapStringEx");
    }
    std::wstring result(static_cast<size_t>(length), L'\0');
    LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, text.c_str(), static_cast<int>(text.size()),
                  result.data(), length, nullptr, nullptr, 0);
    return result;
}
} // namespace

bool IsLovenaName(const std::wstring& productName) {
    return UpperCase(productName) == UpperCase(L"Ловена");
}
