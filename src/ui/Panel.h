#pragma once
#include "ui/WinContainer.h"

enum class TPanelBorder { pbNone, pbFlat, pbRounded };

// A plain container window ("TPanel") that aligns and colours its children.
class TPanel : public TWinContainer {
public:
    void Create(TWinContainer& parent, const TPlace& place,
                TPanelBorder border = TPanelBorder::pbNone, bool visible = true);
    void SetBorderColor(COLORREF color);

protected:
    void Paint(HDC dc) override;

private:
    TPanelBorder FBorder = TPanelBorder::pbNone;
    COLORREF FBorderColor = 0;
};
