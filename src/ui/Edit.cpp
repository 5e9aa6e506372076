#include "ui/Edit.h"

void TEdit::Create(TWinContainer& parent, const TPlace& place, const std::wstring& text,
                   DWORD exStyle) {
    CreateWindowOf(parent, place, L"EDIT", text, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, exStyle);
}
