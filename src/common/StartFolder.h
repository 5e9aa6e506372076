#pragma once
#include <string>

// The folder the program was started in, before it makes its own folder the current one:
// where a relative path given on the command line (/LOG) is meant to be.
void RememberStartFolder();
// With a trailing "\"; empty when it was not remembered.
const std::wstring& StartFolder();
