#pragma once
#include <windows.h>

#include <string>

namespace e2e {

// Saves what the screen shows inside area (screen coordinates) as a PNG file, through WIC.
// The pixels come from the screen DC, so every window that overlaps the area is in the picture.
void SaveScreenPng(const RECT& area, const std::wstring& pngPath);

// The whole screen.
RECT ScreenArea();

// One window with its frame.
RECT WindowArea(HWND wnd);

// The smallest rectangle around the visible top-level windows of a process (its main window
// with any message box over it); the whole screen when it has none.
RECT ProcessWindowsArea(DWORD processId);

} // namespace e2e
