#include "ui/PageControl.h"

#include "ui/Form.h"

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
    page.ArrangeTabOrder();
    FocusPage(page);
    if (page.OnShow) {
        page.OnShow();
    }
}

void TPageControl::FocusPage(TTabSheet& page) {
    // An inactive window gets its focus when it is activated again (TForm::RestoreFocus).
    HWND root = GetAncestor(FHandle, GA_ROOT);
    if (GetActiveWindow() != root) {
        return;
    }
    HWND target = nullptr;
    if (page.ActiveControl != nullptr && IsWindowVisible(page.ActiveControl->Handle()) &&
        IsWindowEnabled(page.ActiveControl->Handle())) {
        target = page.ActiveControl->Handle();
    } else {
        target = GetNextDlgTabItem(page.Handle(), nullptr, FALSE);
    }
    // With nothing to focus on the page, the page itself holds the focus, so that the keys
    // still reach the form and not a control of the page just hidden.
    FocusControl(target != nullptr ? target : page.Handle());
}
