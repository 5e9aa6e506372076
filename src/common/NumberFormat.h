#pragma once
#include <optional>
#include <string>

// The process-wide number format that our conversions between numbers and text use. Start-up
// (LoadSettings) fixes it to "." and " " so that the suite's files read alike on every locale.
struct TFormatSettings {
    wchar_t DecimalSeparator = L'.';
    wchar_t ThousandSeparator = L',';
};

const TFormatSettings& FormatSettings();
void SetFormatSettings(const TFormatSettings& settings);

// A decimal real such as "-1.5" or "2e3" with the process-wide decimal separator; blanks
// around it are allowed. Anything else (also "", "inf", "1,5" when the separator is ".")
// gives nothing.
std::optional<double> TextToFloat(const std::wstring& text);
