#include "ui/ListBox.h"

#include "common/Errors.h"

#include <algorithm>

void TListBox::Create(TWinContainer& parent, const TPlace& place, bool visible) {
    CreateWindowOf(parent, place, L"LISTBOX", L"",
                   (visible ? WS_VISIBLE : 0) | WS_TABSTOP | WS_VSCROLL | LBS_HASSTRINGS |
                       LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
                   WS_EX_CLIENTEDGE);
}

int TListBox::Add(const std::wstring& item) {
    const bool follow = FFollowEnd && EndVisible();
    const LRESULT index =
        SendMessageW(FHandle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    if (index < 0) {
        throw EError(L"List box: cannot add an item");
    }
    if (follow) {
        ShowEnd();
    }
    return static_cast<int>(index);
}

namespace {
// How many items show whole in the list's client area; at least one.
int WholeItemsShown(HWND list) {
    RECT r;
    GetClientRect(list, &r);
    const LRESULT itemHeight = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
    return itemHeight > 0 ? std::max(1, static_cast<int>((r.bottom - r.top) / itemHeight)) : 1;
}
} // namespace

bool TListBox::EndVisible() const {
    const int top = static_cast<int>(SendMessageW(FHandle, LB_GETTOPINDEX, 0, 0));
    return top + WholeItemsShown(FHandle) >= Count();
}

void TListBox::ShowEnd() {
    const int top = std::max(0, Count() - WholeItemsShown(FHandle));
    SendMessageW(FHandle, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
}

void TListBox::Replace(int index, const std::wstring& item) {
    // Deleting and inserting may scroll the list; it stays where it was.
    const LRESULT top = SendMessageW(FHandle, LB_GETTOPINDEX, 0, 0);
    SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
    SendMessageW(FHandle, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SendMessageW(FHandle, LB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageW(FHandle, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    SendMessageW(FHandle, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(FHandle, nullptr, TRUE);
}

std::wstring TListBox::Item(int index) const {
    const LRESULT length = SendMessageW(FHandle, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) {
        throw EError(L"List index out of bounds");
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(FHandle, LB_GETTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

int TListBox::Count() const {
    return static_cast<int>(SendMessageW(FHandle, LB_GETCOUNT, 0, 0));
}

void TListBox::Clear() {
    SendMessageW(FHandle, LB_RESETCONTENT, 0, 0);
}

void TListBox::SetItemHeight(int height) {
    SendMessageW(FHandle, LB_SETITEMHEIGHT, 0, height);
}
