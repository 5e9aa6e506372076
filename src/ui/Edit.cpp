#include "ui/Edit.h"

#include "common/Handles.h"

void TEdit::Create(TWinContainer& parent, const TPlace& place, const std::wstring& text,
                   DWORD exStyle) {
    CreateWindowOf(parent, place, L"EDIT", text, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, exStyle);
}

void TEdit::SetFlatFrame(COLORREF normal, COLORREF hot) {
    FFrame = normal;
    FHotFrame = hot;
    Subclass();
    SetWindowLongW(FHandle, GWL_EXSTYLE, GetWindowLongW(FHandle, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
    SetWindowLongW(FHandle, GWL_STYLE, GetWindowLongW(FHandle, GWL_STYLE) | WS_BORDER);
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    // Without the sunken edge the text would touch the thin frame.
    SendMessageW(FHandle, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(4, 4));
}

LRESULT TEdit::ControlProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (FHot.Update(FHandle, message)) {
        PaintFrame();
    }
    if (message == WM_NCPAINT) {
        PaintFrame(); // the frame is the whole non-client area
        return 0;
    }
    return TControl::ControlProc(message, wParam, lParam);
}

void TEdit::PaintFrame() {
    TWholeWindowDC dc(FHandle);
    if (dc.get() == nullptr) {
        return;
    }
    RECT r;
    GetWindowRect(FHandle, &r);
    OffsetRect(&r, -r.left, -r.top);
    TUniqueGdi brush(CreateSolidBrush(FHot.Hot() ? FHotFrame : FFrame));
    FrameRect(dc.get(), &r, static_cast<HBRUSH>(brush.get()));
}
