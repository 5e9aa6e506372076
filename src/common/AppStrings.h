#pragma once
#include <windows.h>

#include <string>

// An entry of the executable's string table, cut to 254 characters. The identifier is
// range-checked: a negative one raises ERangeError.
std::wstring LoadAppString(HINSTANCE instance, int ident);
