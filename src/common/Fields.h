#pragma once
#include <string>
#include <vector>

// A line of the program's text files cut at each tab (a character no Windows file name
// holds); n tabs give n + 1 fields.
std::vector<std::wstring> SplitFields(const std::wstring& line);
