#pragma once
#include <windows.h>

#include <string>

// An entry of the executable's string table, cut to 254 characters. The identifier is
// range-checked: a negative one raises ERangeError.
std::wstring LoadAppString(HINSTANCE instance, int ident);

// The entries the program reads, named for what they hold, so that rooms below the program
// need not know the resource ids.
std::wstring AppFolderName(HINSTANCE instance);      // the default installation folder's name
std::wstring ProductName(HINSTANCE instance);        // also the brand and the shortcut's name
std::wstring ProductDescription(HINSTANCE instance); // the shortcut's comment begins with it
std::wstring MainExecutableName(HINSTANCE instance); // the suite's program, the shortcut's target
