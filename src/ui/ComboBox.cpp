#include "ui/ComboBox.h"

void TComboBox::Create(TWinContainer& parent, const TPlace& place,
                       std::initializer_list<const wchar_t*> items, bool visible) {
    TPlace dropped = place;
    dropped.Bounds.bottom += 120; // the height of a combo box's window includes its list
    CreateWindowOf(parent, dropped, L"COMBOBOX", L"",
                   (visible ? WS_VISIBLE : 0) | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST);
    for (const wchar_t* item : items) {
        SendMessageW(FHandle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
}

int TComboBox::ItemIndex() const {
    return static_cast<int>(SendMessageW(FHandle, CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int index) {
    SendMessageW(FHandle, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int TComboBox::Count() const {
    return static_cast<int>(SendMessageW(FHandle, CB_GETCOUNT, 0, 0));
}
