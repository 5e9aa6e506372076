#include "ui/Button.h"

void TButton::Create(TWinContainer& parent, const TPlace& place, const std::wstring& caption) {
    CreateWindowOf(parent, place, L"BUTTON", caption, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON);
}

void TButton::Click() {
    if (OnClick) {
        OnClick();
    }
}

void TButton::Command(WORD code) {
    if (code == BN_CLICKED) {
        Click();
    }
}
