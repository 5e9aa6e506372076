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

private:
    std::wstring FName;
};

// A page control without tabs ("TPageControl"): exactly its selected page is visible.
class TPageControl : public TWinContainer {
public:
    void Create(TWinContainer& parent, const TPlace& place);
    TTabSheet* ActivePage() const noexcept { return FActive; }
    void SetActivePage(TTabSheet& page);

private:
    TTabSheet* FActive = nullptr;
};
