#include "ui/Panel.h"

void TPanel::Create(TWinContainer& parent, const TPlace& place, TPanelBorder border, bool visible) {
    FBorder = border;
    FBorderColor = GetSysColor(COLOR_BTNSHADOW);
    CreateContainer(parent, place, L"TPanel", L"", visible ? WS_VISIBLE : 0);
}

void TPanel::SetBorderColor(COLORREF color) {
    FBorderColor = color;
    InvalidateRect(FHandle, nullptr, TRUE);
}

void TPanel::Paint(HDC dc) {
    if (FBorder == TPanelBorder::pbNone) {
        return;
    }
    RECT r;
    GetClientRect(FHandle, &r);
    TUniqueGdi pen(CreatePen(PS_SOLID, 1, FBorderColor));
    TSelectObject selectPen(dc, pen.get());
    TSelectObject selectBrush(dc, GetStockObject(NULL_BRUSH));
    const int round = FBorder == TPanelBorder::pbRounded ? 6 : 0;
    RoundRect(dc, r.left, r.top, r.right, r.bottom, round, round);
}
