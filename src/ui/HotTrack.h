#pragma once
#include <windows.h>

// Whether the mouse pointer is over a window, followed through the window's own
// WM_MOUSEMOVE and WM_MOUSELEAVE.
class THotTrack {
public:
    // Call with every message of the window; true when Hot() changed.
    bool Update(HWND wnd, UINT message);
    bool Hot() const noexcept { return FHot; }

private:
    bool FHot = false;
};
