#pragma once
#include <string>

// Sets one key of an INI file through the profile functions, which keep every other section,
// key and comment of the file. Raises EError naming the file when it cannot be written.
void IniWriteString(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                    const std::wstring& value);
void IniWriteInteger(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                     int value);
