#include "ui/Memo.h"

#include "ui/WinContainer.h"

std::wstring TMemo::JoinLines(std::initializer_list<const wchar_t*> lines) {
    std::wstring text;
    for (const wchar_t* line : lines) {
        if (!text.empty() || line != *lines.begin()) {
            text += L"\r\n";
        }
        text += line;
    }
    return text;
}

void TMemo::Create(TWinContainer& parent, const TPlace& place,
                   std::initializer_list<const wchar_t*> lines, COLORREF textColor) {
    FTextColor = textColor;
    CreateWindowOf(parent, place, L"EDIT", JoinLines(lines),
                   WS_VISIBLE | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL);
}

HBRUSH TMemo::CtlColor(UINT message, HDC dc) {
    HBRUSH brush = TControl::CtlColor(message, dc);
    SetTextColor(dc, FTextColor);
    return brush;
}
