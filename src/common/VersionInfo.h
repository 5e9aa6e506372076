#pragma once
#include <string>

// A string of a program file's version resource ("ProductVersion", "CompanyName", ...), in
// the resource's first language; empty when the file or the string has none.
std::wstring ReadVersionString(const std::wstring& file, const std::wstring& name);
