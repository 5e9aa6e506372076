#pragma once
#include <optional>
#include <string>

// The integer syntax of the suite's INI files: decimal with an optional sign, or hexadecimal
// after "$" or after "0x" (either case) when the text is longer than two characters. Values
// outside 32 bits give nothing; a hexadecimal one takes the 32-bit pattern as it stands.
std::optional<int> ParseIniInteger(const std::wstring& text);

// Reads one INI file through the platform's profile functions: section and key names match
// without regard to case, and a missing file, section or key gives the default. An empty
// file name reads nothing at all (the platform would fall back to a file of its own).
class TIniReader {
public:
    explicit TIniReader(std::wstring fileName) : FFileName(std::move(fileName)) {}

    // At most 2047 characters; the platform drops one pair of enclosing quotation marks.
    std::wstring ReadString(const wchar_t* section, const wchar_t* key,
                            const std::wstring& fallback) const;
    int ReadInteger(const wchar_t* section, const wchar_t* key, int fallback) const;
    // Read as an integer: 0 is false, any other integer true.
    bool ReadBool(const wchar_t* section, const wchar_t* key, bool fallback) const;
    // An integer in [low, high]; anything else gives the fallback.
    int ReadIntegerIn(const wchar_t* section, const wchar_t* key, int low, int high,
                      int fallback) const;
    // A real with the process-wide decimal separator.
    double ReadFloat(const wchar_t* section, const wchar_t* key, double fallback) const;

private:
    std::wstring FFileName;
};
