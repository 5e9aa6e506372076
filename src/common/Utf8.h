#pragma once
#include <string>

// UTF-16 text as UTF-8 bytes, for files that people and other tools read.
std::string ToUtf8(const std::wstring& text);

// UTF-8 bytes as UTF-16 text; false, with text untouched, when the bytes are not valid UTF-8.
bool FromUtf8(const std::string& bytes, std::wstring& text);

// Narrow text byte for byte as UTF-16 (Latin-1), for the messages of the standard library's
// errors, which are plain ASCII.
std::wstring Widen(const char* text);
