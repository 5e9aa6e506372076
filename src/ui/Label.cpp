#include "ui/Label.h"

#include "common/Handles.h"

void TLabel::Create(TWinContainer& parent, const TPlace& place, const std::wstring& caption,
                    DWORD style) {
    CreateWindowOf(parent, place, L"STATIC", caption, WS_VISIBLE | SS_NOPREFIX | style);
}

int TLabel::WrappedTextHeight(int width) const {
    TWindowDC dc(FHandle);
    TSelectObject font(dc.get(), Font());
    const std::wstring text = Text();
    RECT r{0, 0, width, 0};
    DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return r.bottom - r.top;
}

int TLabel::TextWidth() const {
    TWindowDC dc(FHandle);
    TSelectObject font(dc.get(), Font());
    const std::wstring text = Text();
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}
