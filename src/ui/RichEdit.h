#pragma once
#include "ui/Control.h"

// A read-only, borderless rich-text box of the system's rich edit library (Msftedit.dll).
class TRichEdit : public TControl {
public:
    void Create(TWinContainer& parent, const TPlace& place);
    void SetBackground(COLORREF color);
    // Replaces the whole text with an RTF document.
    void LoadRtf(const BYTE* data, DWORD size);
    // Keeps the text this many pixels inside the client area; again after every resize.
    void SetInnerBorder(int pixels);
};
