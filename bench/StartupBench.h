#pragma once
#include <string>

// Start-up: from CreateProcessW to the main window shown and painted (it has answered WM_NULL
// and nothing in it waits for WM_PAINT), for Install.exe, the minimal window program, the
// same window with Install.exe's manifest and libraries, and the peer installer (its main
// window is a dialog, class #32770, showing the welcome page), taking turns. Prints
// startup.Install, startup.minimal, startup.platform and startup.peer figures, each with the
// peak working set at the first paint; 0 on success.
int BenchStartup(const std::wstring& install, const std::wstring& minimal,
                 const std::wstring& platform, const std::wstring& peer, int repetitions);
