#include "ui/Font.h"

#include "common/Errors.h"

TUniqueGdi CreateFontByHeight(const wchar_t* face, int pixelHeight, bool bold, BYTE charset) {
    HFONT font = CreateFontW(-pixelHeight, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                             charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, face);
    if (font == nullptr) {
        throw EError(std::wstring(L"Cannot create font ") + face);
    }
    return TUniqueGdi(font);
}

int PointsToPixels(int points) {
    TWindowDC screen(nullptr);
    return MulDiv(points, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
}

int ScaledToScreen(int pixelsAt96) {
    TWindowDC screen(nullptr);
    return MulDiv(pixelsAt96, GetDeviceCaps(screen.get(), LOGPIXELSY), 96);
}
