#pragma once
#include "ui/Bitmap32.h"

#include <cstdint>

// What the screen shows of a window: its client area, or with frame the whole window, copied
// from the window's DC after every pending paint is done. Pixels 0x00RRGGBB (alpha cleared).
void CaptureWindow(HWND wnd, TBitmap32& picture, bool withFrame = false);

// The colour of a pixel as the screen shows it: 0x00RRGGBB.
inline std::uint32_t Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | b;
}
inline std::uint32_t ColorOf(COLORREF color) {
    return Rgb(GetRValue(color), GetGValue(color), GetBValue(color));
}
