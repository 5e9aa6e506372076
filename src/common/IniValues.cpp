#include "common/IniValues.h"

#include "common/NumberFormat.h"

#include <windows.h>

#include <cstdint>

namespace {
std::optional<std::uint32_t> ParseDigits(const std::wstring& digits, unsigned base) {
    if (digits.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (wchar_t c : digits) {
        unsigned digit = 0;
        if (c >= L'0' && c <= L'9') {
            digit = c - L'0';
        } else if (base == 16 && c >= L'a' && c <= L'f') {
            digit = c - L'a' + 10;
        } else if (base == 16 && c >= L'A' && c <= L'F') {
            digit = c - L'A' + 10;
        } else {
            return std::nullopt;
        }
        value = value * base + digit;
        if (value > 0xFFFFFFFFu) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint32_t>(value);
}
} // namespace

std::optional<int> ParseIniInteger(const std::wstring& text) {
    if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        return ParseIniInteger(L"$" + text.substr(2));
    }
    if (!text.empty() && text[0] == L'$') {
        const auto value = ParseDigits(text.substr(1), 16);
        return value ? std::optional<int>(static_cast<std::int32_t>(*value)) : std::nullopt;
    }
    const bool negative = !text.empty() && text[0] == L'-';
    const size_t start = (!text.empty() && (text[0] == L'-' || text[0] == L'+')) ? 1 : 0;
    const auto magnitude = ParseDigits(text.substr(start), 10);
    if (!magnitude || *magnitude > (negative ? 0x80000000u : 0x7FFFFFFFu)) {
        return std::nullopt;
    }
    return static_cast<int>(negative ? -static_cast<std::int64_t>(*magnitude) : *magnitude);
}

std::wstring TIniReader::ReadString(const wchar_t* section, const wchar_t* key,
                                    const std::wstring& fallback) const {
    if (FFileName.empty()) {
        return fallback;
    }
    wchar_t buffer[2048];
    GetPrivateProfileStringW(section, key, fallback.c_str(), buffer, 2048, FFileName.c_str());
    return buffer;
}

int TIniReader::ReadInteger(const wchar_t* section, const wchar_t* key, int fallback) const {
    return ParseIniInteger(ReadString(section, key, L"")).value_or(fallback);
}

bool TIniReader::ReadBool(const wchar_t* section, const wchar_t* key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

int TIniReader::ReadIntegerIn(const wchar_t* section, const wchar_t* key, int low, int high,
                              int fallback) const {
    const int value = ReadInteger(section, key, fallback);
    return value >= low && value <= high ? value : fallback;
}

double TIniReader::ReadFloat(const wchar_t* section, const wchar_t* key, double fallback) const {
    return TextToFloat(ReadString(section, key, L"")).value_or(fallback);
}
