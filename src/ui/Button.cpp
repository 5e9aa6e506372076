#include "ui/Button.h"

void TButton::Create(TWinContainer& parent, const TPlace& place, const std::wstring& caption) {
    CreateButton(parent, place, caption, BS_PUSHBUTTON);
}

void TButton::CreateButton(TWinContainer& parent, const TPlace& place, const std::wstring& caption,
                           DWORD kind) {
    CreateWindowOf(parent, place, L"BUTTON", caption, WS_VISIBLE | WS_TABSTOP | kind);
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
