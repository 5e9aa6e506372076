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

bool FromUtf8(const std::string& bytes, std::wstring& text) {
    if (bytes.empty()) {
        text.clear();
        return true;
    }
    const int size = static_cast<int>(bytes.size());
    const int length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length == 0) {
        return false;
    }
    std::wstring result(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, result.data(), length);
    text = std::move(result);
    return true;
}

std::wstring Widen(const char* text) {
    std::wstring result;
    for (; *text != '\0'; ++text) {
        result += static_cast<wchar_t>(static_cast<unsigned char>(*text));
    }
    return result;
}
