#pragma once
#include "ui/Control.h"

// A one-line text field ("EDIT").
class TEdit : public TControl {
public:
    void Create(TWinContainer& parent, const TPlace& place, const std::wstring& text,
                DWORD exStyle = WS_EX_CLIENTEDGE);
};
