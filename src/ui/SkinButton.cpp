#include "ui/SkinButton.h"

#include "common/Handles.h"
#include "ui/Accessible.h"
#include "ui/WinContainer.h"

#include <oleacc.h>

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
    if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
        // Which button Enter presses follows the focus: every skin button of the form draws
        // its default state afresh.
        const LRESULT result = TControl::ControlProc(message, wParam, lParam);
        if (auto* form =
                dynamic_cast<TWinContainer*>(TControl::FromHandle(GetAncestor(FHandle, GA_ROOT)))) {
            InvalidateSkinButtons(*form);
        }
        return result;
    }
    if (message == WM_ERASEBKGND) {
        return TRUE; // DrawItem covers every pixel
    }
    if (message == WM_GETOBJECT) {
        // The standard object takes an owner-drawn button for a plain window.
        if (const LRESULT object =
                AccessibleObjectAnswer(FHandle, wParam, lParam, ROLE_SYSTEM_PUSHBUTTON)) {
            return object;
        }
    }
    return TControl::ControlProc(message, wParam, lParam);
}

void TSkinButton::InvalidateSkinButtons(const TWinContainer& container) {
    for (TControl* child : container.Children()) {
        if (dynamic_cast<TSkinButton*>(child) != nullptr) {
            InvalidateRect(child->Handle(), nullptr, FALSE);
        } else if (const auto* inner = dynamic_cast<const TWinContainer*>(child)) {
            InvalidateSkinButtons(*inner);
        }
    }
}

bool TSkinButton::IsDefault() const noexcept {
    for (const TWinContainer* c = FParent; c != nullptr; c = c->Parent()) {
        if (c->DefaultButton == this) {
            return true;
        }
    }
    return false;
}

bool TSkinButton::ShowsDefault() const noexcept {
    // As with standard push buttons: the focused push button is the one Enter presses; the
    // default button only while no other push button of the window has the focus.
    HWND focus = GetFocus();
    if (dynamic_cast<TButton*>(TControl::FromHandle(focus)) != nullptr &&
        GetAncestor(focus, GA_ROOT) == GetAncestor(FHandle, GA_ROOT)) {
        return focus == FHandle;
    }
    return IsDefault();
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
    if (ShowsDefault() && (state & ODS_DISABLED) == 0) {
        // The default button: a frame twice as thick, as a standard default button has.
        InflateRect(&r, -1, -1);
        Frame(dc, r, FLook.Frame);
    }
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
    if ((state & ODS_FOCUS) != 0) {
        // Always shown, also before the keyboard was first used: the skin has no other sign
        // of the focus.
        InflateRect(&r, -3, -3);
        DrawFocusRect(dc, &r);
    }
}
