#include "ui/CheckBox.h"

#include "common/Handles.h"
#include "ui/Accessible.h"

#include <oleacc.h>

void TCheckBox::Create(TWinContainer& parent, const TPlace& place, const std::wstring& caption,
                       bool visible) {
    CreateWindowOf(parent, place, L"BUTTON", caption,
                   (visible ? WS_VISIBLE : 0) | WS_TABSTOP | BS_AUTOCHECKBOX);
    Subclass();
}

LRESULT TCheckBox::ControlProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETOBJECT) {
        if (const LRESULT object =
                AccessibleObjectAnswer(FHandle, wParam, lParam, ROLE_SYSTEM_CHECKBUTTON)) {
            return object;
        }
    }
    return TControl::ControlProc(message, wParam, lParam);
}

bool TCheckBox::Checked() const {
    return SendMessageW(FHandle, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool checked) {
    SendMessageW(FHandle, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int TCheckBox::CaptionWidth() const {
    TWindowDC dc(FHandle);
    TSelectObject font(dc.get(), Font());
    const std::wstring text = Text();
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    // The box, the gap after it (half a character, as the button control leaves) and a pixel
    // on either side for the focus rectangle around the caption.
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    return GetSystemMetrics(SM_CXMENUCHECK) + metrics.tmAveCharWidth / 2 + size.cx + 4;
}
