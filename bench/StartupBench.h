#pragma once
#include <string>

// Start-up: from CreateProcessW to the main window shown and painted (it has answered WM_NULL
// and nothing in it waits for WM_PAINT), for Install.exe and for the minimal window program,
// taking turns. Prints startup.Install and startup.minimal figures; 0 on success.
int BenchStartup(const std::wstring& install, const std::wstring& minimal, int repetitions);
