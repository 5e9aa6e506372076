#pragma once
#include "common/Handles.h"

#include <cstdint>

// A 32-bit top-down DIB section (pixels 0xAARRGGBB) that stays selected into its own memory DC,
// so that GDI can draw into it and copy from it.
class TBitmap32 {
public:
    TBitmap32() = default;
    TBitmap32(const TBitmap32&) = delete;
    TBitmap32& operator=(const TBitmap32&) = delete;

    // New pixels, all zero; nothing of the old ones is kept.
    void SetSize(int width, int height);
    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }
    bool Empty() const noexcept { return FBits == nullptr; }
    HDC Canvas() const noexcept { return FDC.get(); }

    std::uint32_t Pixel(int x, int y) const;
    std::uint32_t* Row(int y);
    const std::uint32_t* Row(int y) const;

    // A plain copy of every pixel to (x, y) of dest; GDI clips it to dest.
    void Draw(HDC dest, int x, int y) const;
    // Blends the part (srcX, 0, width, height) over dest with its premultiplied alpha.
    void DrawBlended(HDC dest, int x, int y, int srcX, int width, int height) const;

private:
    TUniqueGdi FBitmap;
    TUniqueMemDC FDC; // after FBitmap: goes first, so the bitmap is no longer selected
    std::uint32_t* FBits = nullptr;
    int FWidth = 0;
    int FHeight = 0;
};

// A platform colour (0x00BBGGRR) from a pixel (0xAARRGGBB); the alpha is dropped.
inline COLORREF PixelToColor(std::uint32_t argb) noexcept {
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}
