#pragma once
#include "ui/Control.h"

// A standard check box ("BUTTON", BS_AUTOCHECKBOX).
class TCheckBox : public TControl {
public:
    void Create(TWinContainer& parent, const TPlace& place, const std::wstring& caption,
                bool visible = true);
    bool Checked() const;
    void SetChecked(bool checked);
};
