#include "common/Utf8.h"

#include <windows.h>

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

std::wstring Widen(const char* text) {
    std::wstring result;
    for (; *text != '\0'; ++text) {
        result += static_cast<wchar_t>(static_cast<unsigned char>(*text));
    }
    return result;
}
