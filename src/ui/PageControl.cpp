#include "ui/PageControl.h"

void TTabSheet::Create(TPageControl& owner, const std::wstring& name) {
    FName = name;
    CreateContainer(owner, TPlace::Client(), L"TTabSheet", name, 0);
    // Every page fills the control, shown or not; only the selected one is shown.
    FVisible = true;
    owner.Realign();
}

void TPageControl::Create(TWinContainer& parent, const TPlace& place) {
    CreateContainer(parent, place, L"TPageControl", L"", WS_VISIBLE);
}

void TPageControl::SetActivePage(TTabSheet& page) {
    if (FActive == &page) {
        return;
    }
    for (TControl* child : Children()) {
        if (child != &page) {
            ShowWindow(child->Handle(), SW_HIDE);
        }
    }
    FActive = &page;
    ShowWindow(page.Handle(), SW_SHOW);
    if (page.OnShow) {
        page.OnShow();
    }
}
