#pragma once
#include <windows.h>

#include <string>

// Appends bytes that end a line at the end of a file opened for writing and for reading its
// attributes. A write that fails or falls short (a full disk) is cut back to where the file
// ended, so that the file never ends inside a line. 0, or the system's error.
DWORD AppendWholeLines(HANDLE file, const std::string& bytes);
