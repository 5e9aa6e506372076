#pragma once
#include "common/Handles.h"
#include "ui/Control.h"

#include <vector>

class TButton;

// A window of one of our own classes that holds controls: panels, pages, forms. It lays out
// its aligned children, paints its colour, and passes each child's notifications back to it.
// A colour value meaning "the parent's colour".
inline constexpr COLORREF clParent = 0xFF000000;

class TWinContainer : public TControl {
public:
    ~TWinContainer() override;

    COLORREF Color() const noexcept;
    void SetColor(COLORREF color); // clParent: the parent's colour
    HBRUSH Brush() const noexcept;
    void SetFont(HFONT font) override;

    // Places the aligned children, in the order they were created: top, bottom, left and right
    // edges are taken one after another, a client-aligned child gets what is left.
    void Realign();
    // Where a child created now with `place` goes: after every aligned child there is.
    RECT PlaceOfNewChild(const TPlace& place) const;
    // Space kept free inside the edges when aligning (a frame the container paints).
    void SetPadding(int padding);
    const std::vector<TControl*>& Children() const noexcept { return FChildren; }

    // The keyboard of a page or a form (TForm::DialogKey): Enter presses DefaultButton and Esc
    // presses CancelButton of the visible container that names one; ActiveControl takes the
    // focus when the container is shown or its form is activated with no focus of its own.
    TButton* DefaultButton = nullptr;
    TButton* CancelButton = nullptr;
    TControl* ActiveControl = nullptr;
    // Orders the tab stops as the eye reads the controls, top to bottom, then left to right: the
    // children's z-order by their places, in this container and every one inside it. Only for
    // containers whose children do not overlap (z-order is also painting order).
    void ArrangeTabOrder();
    // The first container, this one or a visible one inside it, for which pick gives something
    // (depth first, in the children's order); null when none does.
    template <typename TPick> auto FindVisible(TPick pick) -> decltype(pick(*this));

protected:
    // Registers a window class of ours (once) whose windows talk to a TWinContainer.
    static void RegisterClassOnce(const wchar_t* className, UINT style = 0);
    void CreateContainer(TWinContainer& parent, const TPlace& place, const wchar_t* className,
                         const std::wstring& text, DWORD style, DWORD exStyle = 0);
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void Paint(HDC /*dc*/) {}
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK StaticWndProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
    static TWinContainer* FromWindowData(HWND wnd) noexcept;

private:
    RECT FreeArea() const;
    void AddChild(TControl* child);
    void RemoveChild(TControl* child) noexcept;
    void DetachWindow() noexcept;

    std::vector<TControl*> FChildren;
    COLORREF FColor = clParent;
    int FPadding = 0;
    TUniqueGdi FBrush;

    friend class TControl;
};

template <typename TPick> auto TWinContainer::FindVisible(TPick pick) -> decltype(pick(*this)) {
    if (FHandle == nullptr || !IsWindowVisible(FHandle)) {
        return nullptr;
    }
    if (auto found = pick(*this)) {
        return found;
    }
    for (TControl* child : FChildren) {
        if (auto* container = dynamic_cast<TWinContainer*>(child)) {
            if (auto found = container->FindVisible(pick)) {
                return found;
            }
        }
    }
    return nullptr;
}
