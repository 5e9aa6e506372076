#pragma once
#include "ui/Control.h"

#include <functional>

// A push button ("BUTTON"); its caption is its window text.
class TButton : public TControl {
public:
    void Create(TWinContainer& parent, const TPlace& place, const std::wstring& caption);
    // Runs OnClick as a click would, also when the button is hidden or disabled.
    void Click();
    void Command(WORD code) override;

    std::function<void()> OnClick;

protected:
    void CreateButton(TWinContainer& parent, const TPlace& place, const std::wstring& caption,
                      DWORD kind);
};
