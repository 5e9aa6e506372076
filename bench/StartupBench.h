#pragma once
#include <string>

// Start-up: from CreateProcessW to the main window shown and painted (it has answered WM_NULL
// and nothing in it waits for WM_PAINT), for Install.exe, the minimal window program and the
// same window with Install.exe's manifest and libraries, taking turns. Prints
// startup.Install, startup.minimal and startup.platform figures; 0 on success.
int BenchStartup(const std::wstring& install, const std::wstring& minimal,
                 const std::wstring& platform, int repetitions);
