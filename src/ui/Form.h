#pragma once
#include "ui/WinContainer.h"

#include <functional>
#include <string>
#include <vector>

class TTimer;

enum TModalResult { mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL };

// A top-level window of its own class with the form's life: close query, show and close
// events, its timers, its fonts, and a modal loop.
class TForm : public TWinContainer {
public:
    TForm() = default;
    ~TForm() override;

    static TForm* FromHandle(HWND wnd) noexcept;

    void Show();
    void Hide();
    // A close request: asks OnCloseQuery; a modal form ends its loop, the main form is
    // destroyed (which ends the application), any other form is hidden.
    void Close();
    // Shows the form and runs a nested loop until it closes; the thread's other windows are
    // disabled meanwhile.
    int ShowModal();
    bool Modal() const noexcept { return FModal; }
    void SetModalResult(int result) noexcept { FModalResult = result; }

    void SetCaption(const std::wstring& caption) { SetText(caption); }
    void SetClientSize(int width, int height);
    void SetOuterHeight(int height);
    void CenterOnScreen();
    // A font that lives as long as the form; the controls that ask for the same one share it.
    HFONT MakeFont(const wchar_t* face, int pixelHeight, bool bold = false,
                   BYTE charset = DEFAULT_CHARSET);

    // Enter and Esc, before the dialog keys: Enter presses the focused push button, else the
    // default button (DefaultButton of the visible container that names one); Esc presses the
    // cancel button, or closes the form as its close box does when EscapeCloses. True when the
    // key was the form's (also when the button is disabled and nothing happens).
    bool DialogKey(WPARAM key);
    bool EscapeCloses = false;
    // Puts the focus on the control a person uses next: ActiveControl of the visible container
    // that names a usable one, else the first tab stop.
    void FocusFirst();

    // Work for the quiet moments of the main form's message loop: one piece per call, made
    // only when no message waits; true while there may be more.
    virtual bool Idle() { return false; }

    std::function<bool()> OnCloseQuery;
    std::function<void()> OnShow;
    std::function<void()> OnClose;

protected:
    void CreateForm(const wchar_t* className, const std::wstring& caption, DWORD style,
                    DWORD exStyle, int clientWidth, int clientHeight);
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool CloseQuery();
    // The focus is the form's own: kept when the form is deactivated (a modal window or a
    // message box over it), given back when it is activated again.
    void SaveFocus() noexcept;
    void RestoreFocus();
    void DoClose();
    UINT_PTR AddTimer(TTimer* timer);
    void RemoveTimer(TTimer* timer) noexcept;

    struct TFormFont {
        std::wstring Face;
        int PixelHeight;
        bool Bold;
        BYTE Charset;
        TUniqueGdi Font;
    };
    std::vector<TFormFont> FFonts;
    std::vector<TTimer*> FTimers;
    UINT_PTR FLastTimerId = 0;
    HWND FSavedFocus = nullptr;
    bool FModal = false;
    int FModalResult = mrNone;

    friend class TTimer;
};

// Gives the window the keyboard focus; a field gets its text selected, as when tabbed into.
void FocusControl(HWND wnd);

// Binds a handler of a form by name: Bind(this, &TFMain::BtnStartNextClick).
template <typename TOwner> std::function<void()> Bind(TOwner* owner, void (TOwner::*handler)()) {
    return [owner, handler] { (owner->*handler)(); };
}
