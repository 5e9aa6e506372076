#pragma once
#include <string>

// The folder of the running executable, with a trailing backslash.
std::wstring ExecutableFolder();
