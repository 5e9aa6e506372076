#include "common/NumberFormat.h"

#include <charconv>

namespace {
TFormatSettings GFormatSettings;

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// Accepts [sign] digits [sep digits] [e [sign] digits] with at least one mantissa digit and
// rewrites it in the neutral form that from_chars reads; anything else gives "".
std::string Neutral(const std::wstring& text, wchar_t separator) {
    std::string out;
    size_t i = 0;
    auto take = [&](auto accept) {
        size_t count = 0;
        while (i < text.size() && accept(text[i])) {
            out += static_cast<char>(text[i++]);
            ++count;
        }
        return count;
    };
    auto sign = [&] {
        if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
            if (text[i++] == L'-') {
                out += '-';
            }
        }
    };
    sign();
    size_t digits = take(IsDigit);
    if (i < text.size() && text[i] == separator) {
        ++i;
        out += '.';
        digits += take(IsDigit);
    }
    if (digits == 0) {
        return {};
    }
    if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        ++i;
        out += 'e';
        sign();
        if (take(IsDigit) == 0) {
            return {};
        }
    }
    return i == text.size() ? out : std::string();
}
} // namespace

const TFormatSettings& FormatSettings() {
    return GFormatSettings;
}

void SetFormatSettings(const TFormatSettings& settings) {
    GFormatSettings = settings;
}

std::optional<double> TextToFloat(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) {
        return std::nullopt;
    }
    const size_t last = text.find_last_not_of(L" \t");
    const std::string neutral =
        Neutral(text.substr(first, last - first + 1), GFormatSettings.DecimalSeparator);
    double value = 0;
    const char* end = neutral.data() + neutral.size();
    const auto [ptr, error] = std::from_chars(neutral.data(), end, value);
    if (neutral.empty() || error != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}
