#pragma once
#include <windows.h>

// BeginPaint and EndPaint as one scope: the paint ends however the painting code is left, so an
// error inside a paint leaves no paint half open behind it.
class TPaintGuard {
public:
    explicit TPaintGuard(HWND wnd) : FWnd(wnd), FDc(BeginPaint(wnd, &FPaint)) {}
    ~TPaintGuard() { EndPaint(FWnd, &FPaint); }
    TPaintGuard(const TPaintGuard&) = delete;
    TPaintGuard& operator=(const TPaintGuard&) = delete;

    HDC Dc() const noexcept { return FDc; }

private:
    HWND FWnd;
    PAINTSTRUCT FPaint{};
    HDC FDc;
};
