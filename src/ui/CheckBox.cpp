#include "ui/CheckBox.h"

void TCheckBox::Create(TWinContainer& parent, const TPlace& place, const std::wstring& caption,
                       bool visible) {
    CreateWindowOf(parent, place, L"BUTTON", caption,
                   (visible ? WS_VISIBLE : 0) | WS_TABSTOP | BS_AUTOCHECKBOX);
}

bool TCheckBox::Checked() const {
    return SendMessageW(FHandle, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool checked) {
    SendMessageW(FHandle, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}
