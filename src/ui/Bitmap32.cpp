#include "ui/Bitmap32.h"

#include "common/Errors.h"

void TBitmap32::SetSize(int width, int height) {
    if (width <= 0 || height <= 0) {
        throw EError(L"Invalid bitmap size");
    }
    if (!FDC) {
        FDC.reset(CreateCompatibleDC(nullptr));
        if (!FDC) {
            RaiseLastOSError(L"CreateCompatibleDC");
        }
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    TUniqueGdi bitmap(CreateDIBSection(FDC.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) {
        RaiseLastOSError(L"CreateDIBSection");
    }
    SelectObject(FDC.get(), bitmap.get());
    FBitmap = std::move(bitmap);
    FBits = static_cast<std::uint32_t*>(bits);
    FWidth = width;
    FHeight = height;
}

std::uint32_t* TBitmap32::Row(int y) {
    GdiFlush(); // pixels GDI still owes the bitmap
    return FBits + static_cast<size_t>(y) * static_cast<size_t>(FWidth);
}

const std::uint32_t* TBitmap32::Row(int y) const {
    GdiFlush();
    return FBits + static_cast<size_t>(y) * static_cast<size_t>(FWidth);
}

std::uint32_t TBitmap32::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) {
        throw ERangeError();
    }
    return Row(y)[x];
}

void TBitmap32::Draw(HDC dest, int x, int y) const {
    BitBlt(dest, x, y, FWidth, FHeight, FDC.get(), 0, 0, SRCCOPY);
}

void TBitmap32::DrawBlended(HDC dest, int x, int y, int srcX, int width, int height) const {
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    // gdi32's own name for it: msimg32, which only passes it on, is no known system library,
    // so importing it would let a library planted beside the program be loaded instead.
    GdiAlphaBlend(dest, x, y, width, height, FDC.get(), srcX, 0, width, height, blend);
}
