#pragma once
#include "ui/WinContainer.h"

#include <functional>

class TPageControl;

// One page ("TTabSheet") of a page control; its window text is the page's name.
class TTabSheet : public TWinContainer {
public:
    void Create(TPageControl& owner, const std::wstring& name);
    const std::wstring& Name() const noexcept { return FName; }

    std::function<void()> OnShow; // each time the page becomes the selected one
    // Makes the page's controls when the page control asks for them (see CreatePendingPage);
    // a page without it has its controls from the start.
    std::function<void()> OnCreateControls;

    // Runs OnCreateControls once; false when there was nothing left to make.
    bool CreateControls();

private:
    std::wstring FName;
};

// A page control without tabs ("TPageControl"): exactly its selected page is visible.
class TPageControl : public TWinContainer {
public:
    void Create(TWinContainer& parent, const TPlace& place);
    TTabSheet* ActivePage() const noexcept { return FActive; }
    // Selecting a page puts the focus on its ActiveControl when it can take it, else on its first
    // tab stop. Selecting a page whose controls are not made yet first makes those of every page,
    // so that whatever the selected page leads to is there.
    void SetActivePage(TTabSheet& page);
    // Makes the controls of the first page still without them; false when all have them.
    bool CreatePendingPage();

private:
    void FocusPage(TTabSheet& page);

    TTabSheet* FActive = nullptr;
};
