#pragma once
#include <string>

// The Windows folder ending in "\", or "" when the system cannot tell it.
std::wstring GetWindowsFolder();
