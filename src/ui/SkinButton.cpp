#include "ui/SkinButton.h"

#include "common/Handles.h"

namespace {
const int kGlyphSize = 16;
const int kGlyphGap = 4;

COLORREF Lighter(COLORREF color) {
    return RGB((GetRValue(color) + 255) / 2, (GetGValue(color) + 255) / 2,
               (GetBValue(color) + 255) / 2);
}

void FillSolid(HDC dc, const RECT& r, COLORREF color) {
    TUniqueGdi brush(CreateSolidBrush(color));
    FillRect(dc, &r, static_cast<HBRUSH>(brush.get()));
}

void Frame(HDC dc, const RECT& r, COLORREF color) {
    TUniqueGdi brush(CreateSolidBrush(color));
    FrameRect(dc, &r, static_cast<HBRUSH>(brush.get()));
}
} // namespace

void TSkinButton::Create(TWinContainer& parent, const TPlace& place, const std::wstring& caption,
                         const TBitmap32* glyph, const TButtonLook& look) {
    FGlyph = glyph;
    FLook = look;
    CreateButton(parent, place, caption, BS_OWNERDRAW);
    Subclass();
}

LRESULT TSkinButton::ControlProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (FHot.Update(FHandle, message)) {
        InvalidateRect(FHandle, nullptr, FALSE);
    }
    if (message == WM_GETDLGCODE) {
        // An owner-drawn button is not taken for a push button by the dialog keys, so it asks
        // for Enter itself. (Claiming to be a default push button instead would make them
        // restyle it into a standard one.)
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        LRESULT code = TControl::ControlProc(message, wParam, lParam);
        if (msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
            code |= DLGC_WANTMESSAGE;
        }
        return code;
    }
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        SendMessageW(FHandle, BM_CLICK, 0, 0);
        return 0;
    }
    if (message == WM_ERASEBKGND) {
        return TRUE; // DrawItem covers every pixel
    }
    return TControl::ControlProc(message, wParam, lParam);
}

bool TSkinButton::DrawItem(const DRAWITEMSTRUCT& item) {
    DrawFace(item.hDC, item.rcItem, item.itemState);
    DrawContent(item.hDC, item.rcItem, item.itemState);
    return true;
}

void TSkinButton::DrawFace(HDC dc, RECT r, UINT state) const {
    const bool pressed = (state & ODS_SELECTED) != 0;
    const bool hot = Hot() && (state & ODS_DISABLED) == 0;
    COLORREF fill = FLook.Fill;
    if (pressed) {
        fill = FLook.Highlight;
    } else if (hot && FLook.HotTrack == clNoColor) {
        fill = Lighter(FLook.Fill);
    }
    FillSolid(dc, r, fill);
    Frame(dc, r, FLook.Frame);
    if (hot && FLook.HotTrack != clNoColor) {
        InflateRect(&r, -1, -1);
        Frame(dc, r, FLook.HotTrack);
        InflateRect(&r, -1, -1);
        Frame(dc, r, FLook.HotTrack);
    }
}

void TSkinButton::DrawContent(HDC dc, RECT r, UINT state) const {
    const bool disabled = (state & ODS_DISABLED) != 0;
    if ((state & ODS_SELECTED) != 0) {
        OffsetRect(&r, 1, 1);
    }
    const std::wstring caption = Text();
    TSelectObject font(dc, Font());
    RECT text{0, 0, 0, 0};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    const int glyphWidth = FGlyph != nullptr ? kGlyphSize + kGlyphGap : 0;
    const int left = r.left + (r.right - r.left - glyphWidth - text.right) / 2;
    if (FGlyph != nullptr) {
        FGlyph->DrawBlended(dc, left, r.top + (r.bottom - r.top - kGlyphSize) / 2,
                            disabled ? kGlyphSize : 0, kGlyphSize, kGlyphSize);
    }
    RECT line{left + glyphWidth, r.top, r.right, r.bottom};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &line,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if ((state & ODS_FOCUS) != 0 && (state & ODS_NOFOCUSRECT) == 0) {
        InflateRect(&r, -3, -3);
        DrawFocusRect(dc, &r);
    }
}
