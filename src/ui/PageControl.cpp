#include "ui/PageControl.h"

#include <utility>

void TTabSheet::Create(TPageControl& owner, const std::wstring& name) {
    FName = name;
    CreateContainer(owner, TPlace::Client(), L"TTabSheet", name, 0);
    // Every page fills the control, shown or not; only the selected one is shown.
    FVisible = true;
    owner.Realign();
}

bool TTabSheet::CreateControls() {
    if (!OnCreateControls) {
        return false;
    }
    const auto create = std::exchange(OnCreateControls, nullptr);
    create();
    return true;
}

void TPageControl::Create(TWinContainer& parent, const TPlace& place) {
    CreateContainer(parent, place, L"TPageControl", L"", WS_VISIBLE);
}

bool TPageControl::CreatePendingPage() {
    for (TControl* child : Children()) {
        if (auto* page = dynamic_cast<TTabSheet*>(child);
            page != nullptr && page->CreateControls()) {
            return true;
        }
    }
    return false;
}

void TPageControl::SetActivePage(TTabSheet& page) {
    if (FActive == &page) {
        return;
    }
    if (page.OnCreateControls) {
        while (CreatePendingPage()) {
        }
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
