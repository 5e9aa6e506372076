#pragma once
#include <string>

// UTF-16 text as UTF-8 bytes, for files that people and other tools read.
std::string ToUtf8(const std::wstring& text);
