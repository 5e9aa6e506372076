#pragma once
#include <string>

namespace e2e {

// One line to standard output in UTF-8 (or to the console as UTF-16), flushed at once, so that
// ctest and a terminal under Wine both show Russian texts as they are.
void Print(const std::wstring& line);

std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

// A text with its control characters shown, for failure messages: "a\rb" reads a\rb.
std::wstring Visible(const std::wstring& text);

// Raises the scenario's failure with this message.
[[noreturn]] void Fail(const std::wstring& message);

} // namespace e2e
