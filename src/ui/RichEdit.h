#pragma once
#include "ui/Control.h"

// A read-only rich-text box of the system's rich edit library (Msftedit.dll).
class TRichEdit : public TControl {
public:
    void Create(TWinContainer& parent, const TPlace& place);
    void SetBackground(COLORREF color);
};
