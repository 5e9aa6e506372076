#pragma once
#include "ui/Control.h"

// A read-only, borderless rich-text box of the system's rich edit library (Msftedit.dll).
class TRichEdit : public TControl {
public:
    void Create(TWinContainer& parent, const TPlace& place);
    void SetBackground(COLORREF color);
    // Replaces the whole text with an RTF document.
    void LoadRtf(const BYTE* data, DWORD size);
    // The same, with the document's font sizes (\fs, in half points) scaled by 96 over the
    // screen's logical pixels per inch: the text then takes the same pixels at 120 dpi as at
    // 96, like the rest of a window that is not scaled, and fits the same room.
    void LoadRtfInPixels(const BYTE* data, DWORD size);
    // Keeps the text this many pixels inside the client area; again after every resize.
    void SetInnerBorder(int pixels);
};
