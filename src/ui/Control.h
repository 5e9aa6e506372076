#pragma once
#include <windows.h>

#include <string>

class TWinContainer;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Where a control goes in its parent: fixed bounds, or aligned to an edge with a size.
struct TPlace {
    TAlign Align = TAlign::alNone;
    RECT Bounds{}; // left, top, width, height for alNone; width or height for the edges

    static TPlace At(int left, int top, int width, int height) {
        return {TAlign::alNone, {left, top, width, height}};
    }
    static TPlace Top(int height) { return {TAlign::alTop, {0, 0, 0, height}}; }
    static TPlace Bottom(int height) { return {TAlign::alBottom, {0, 0, 0, height}}; }
    static TPlace Left(int width) { return {TAlign::alLeft, {0, 0, width, 0}}; }
    static TPlace Right(int width) { return {TAlign::alRight, {0, 0, width, 0}}; }
    static TPlace Client() { return {TAlign::alClient, {}}; }
};

// A control: one window of a standard class (or one of ours), owned by a form. Its parent
// sends back what Windows reports to the parent about it (commands, colours).
class TControl {
public:
    TControl() = default;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;
    virtual ~TControl();

    HWND Handle() const noexcept { return FHandle; }
    TWinContainer* Parent() const noexcept { return FParent; }
    static TControl* FromHandle(HWND wnd) noexcept;

    TAlign Align() const noexcept { return FPlace.Align; }
    RECT Bounds() const; // in the parent's client coordinates
    int Width() const;
    int Height() const;
    void SetBounds(int left, int top, int width, int height);

    bool Visible() const noexcept { return FVisible; }
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    std::wstring Text() const;
    void SetText(const std::wstring& text);
    HFONT Font() const noexcept;
    virtual void SetFont(HFONT font);
    void SetFocus();

    // Notifications that the parent passes on (WM_COMMAND's code, WM_CTLCOLOR*).
    virtual void Command(WORD /*code*/) {}
    virtual HBRUSH CtlColor(UINT message, HDC dc);
    // WM_DRAWITEM for an owner-drawn control; false: not drawn here.
    virtual bool DrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }

protected:
    void CreateWindowOf(TWinContainer& parent, const TPlace& place, const wchar_t* className,
                        const std::wstring& text, DWORD style, DWORD exStyle = 0,
                        void* createParam = nullptr);
    void Attach(HWND wnd);
    void ApplyPlace(int left, int top, int width, int height);
    // Routes the messages of the control's own window through ControlProc, for controls of
    // standard classes that need a few messages of their own.
    void Subclass();
    virtual LRESULT ControlProc(UINT message, WPARAM wParam, LPARAM lParam);

    HWND FHandle = nullptr;
    TWinContainer* FParent = nullptr;
    TPlace FPlace;
    HFONT FFont = nullptr;
    bool FVisible = true;
    bool FSubclassed = false;

private:
    static LRESULT CALLBACK SubclassProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);

    friend class TWinContainer;
};
