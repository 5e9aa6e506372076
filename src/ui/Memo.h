#pragma once
#include "ui/Control.h"

#include <initializer_list>

// A read-only, borderless, word-wrapping multi-line "EDIT" in its parent's colour.
class TMemo : public TControl {
public:
    void Create(TWinContainer& parent, const TPlace& place,
                std::initializer_list<const wchar_t*> lines, COLORREF textColor);
    HBRUSH CtlColor(UINT message, HDC dc) override;

    // Lines as the control holds them: joined by CR LF.
    static std::wstring JoinLines(std::initializer_list<const wchar_t*> lines);

private:
    COLORREF FTextColor = 0;
};
