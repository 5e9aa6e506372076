#pragma once
#include "ui/Control.h"

// A standard check box ("BUTTON", BS_AUTOCHECKBOX).
class TCheckBox : public TControl {
public:
    void Create(TWinContainer& parent, const TPlace& place, const std::wstring& caption,
                bool visible = true);
    bool Checked() const;
    void SetChecked(bool checked);
    // The width that shows the box and the whole caption in the control's font, at the
    // screen's setting (the box grows with the logical pixels per inch, the font does not).
    int CaptionWidth() const;

protected:
    // Answers Active Accessibility with the check box's role, caption and state.
    LRESULT ControlProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
