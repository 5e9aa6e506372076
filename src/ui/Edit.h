#pragma once
#include "ui/Control.h"
#include "ui/HotTrack.h"

// A one-line text field ("EDIT").
class TEdit : public TControl {
public:
    void Create(TWinContainer& parent, const TPlace& place, const std::wstring& text,
                DWORD exStyle = WS_EX_CLIENTEDGE);
    // A one-pixel frame of its own instead of the sunken edge, in `normal`, and in `hot` while
    // the mouse is over the field.
    void SetFlatFrame(COLORREF normal, COLORREF hot);
    bool Hot() const noexcept { return FHot.Hot(); }

protected:
    LRESULT ControlProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PaintFrame();

    COLORREF FFrame = 0;
    COLORREF FHotFrame = 0;
    THotTrack FHot;
};
