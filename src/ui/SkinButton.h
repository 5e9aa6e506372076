#pragma once
#include "ui/Bitmap32.h"
#include "ui/Button.h"
#include "ui/HotTrack.h"

inline constexpr COLORREF clNoColor = 0xFFFFFFFF;

// Colours of an owner-drawn button (platform colours, 0x00BBGGRR).
struct TButtonLook {
    COLORREF Fill = 0xF0F4F4;
    COLORREF Frame = 0x743C00;
    COLORREF Highlight = 0xE6DCD2; // the fill while pressed
    COLORREF HotTrack = clNoColor; // an inner frame while the mouse is over it; none: lighter fill
};

// A push button that draws itself: fill, frame, hot-tracking and a 16 x 16 glyph from a strip
// whose left half is the normal image and right half the greyed one; a double frame while it
// is the button Enter presses, a dotted rectangle while it has the focus. It stays a standard
// "BUTTON" with its caption as window text, so focus, Enter, Space and automation work.
class TSkinButton : public TButton {
public:
    // glyph: a strip of 32 x 16 with premultiplied alpha, or null; it must outlive the button.
    void Create(TWinContainer& parent, const TPlace& place, const std::wstring& caption,
                const TBitmap32* glyph, const TButtonLook& look = {});
    bool Hot() const noexcept { return FHot.Hot(); }
    bool DrawItem(const DRAWITEMSTRUCT& item) override;
    // DefaultButton of a container it lies in.
    bool IsDefault() const noexcept;
    // Whether Enter presses it now: it has the focus, or it is the default button and no other
    // push button has the focus.
    bool ShowsDefault() const noexcept;

protected:
    LRESULT ControlProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static void InvalidateSkinButtons(const TWinContainer& container);
    void DrawFace(HDC dc, RECT r, UINT state) const;
    void DrawContent(HDC dc, RECT r, UINT state) const;

    const TBitmap32* FGlyph = nullptr;
    TButtonLook FLook;
    THotTrack FHot;
};
