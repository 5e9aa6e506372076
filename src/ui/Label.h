#pragma once
#include "ui/Control.h"

// A text label ("STATIC"), so that its text is readable by automation.
class TLabel : public TControl {
public:
    void Create(TWinContainer& parent, const TPlace& place, const std::wstring& caption,
                DWORD style = SS_LEFT);
    // The height the text needs when wrapped at the label's width.
    int WrappedTextHeight(int width) const;
    int TextWidth() const;
};
