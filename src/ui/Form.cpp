#include "ui/Form.h"

#include "common/Errors.h"
#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/Font.h"
#include "ui/Timer.h"

TForm::~TForm() {
    for (TTimer* timer : FTimers) {
        timer->FOwner = nullptr;
    }
    if (Application.MainForm() == this) {
        Application.SetMainForm(nullptr);
    }
    if (FHandle != nullptr && IsWindow(FHandle)) {
        HWND wnd = FHandle;
        SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
        DestroyWindow(wnd);
    }
}

TForm* TForm::FromHandle(HWND wnd) noexcept {
    return dynamic_cast<TForm*>(FromWindowData(wnd));
}

void TForm::CreateForm(const wchar_t* className, const std::wstring& caption, DWORD style,
                       DWORD exStyle, int clientWidth, int clientHeight) {
    RegisterClassOnce(className);
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    HWND wnd = CreateWindowExW(exStyle | WS_EX_CONTROLPARENT, className, caption.c_str(),
                               style | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                               r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                               GetModuleHandleW(nullptr), static_cast<TWinContainer*>(this));
    if (wnd == nullptr) {
        RaiseLastOSError(std::wstring(L"CreateWindowEx ") + className);
    }
    FVisible = false;
    SetFont(MakeFont(L"Tahoma", 11));
}

HFONT TForm::MakeFont(const wchar_t* face, int pixelHeight, bool bold, BYTE charset) {
    for (const TFormFont& made : FFonts) {
        if (made.Face == face && made.PixelHeight == pixelHeight && made.Bold == bold &&
            made.Charset == charset) {
            return static_cast<HFONT>(made.Font.get());
        }
    }
    FFonts.push_back(
        {face, pixelHeight, bold, charset, CreateFontByHeight(face, pixelHeight, bold, charset)});
    return static_cast<HFONT>(FFonts.back().Font.get());
}

void TForm::SetClientSize(int width, int height) {
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(FHandle, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(FHandle, GWL_EXSTYLE)));
    SetWindowPos(FHandle, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::SetOuterHeight(int height) {
    RECT r;
    GetWindowRect(FHandle, &r);
    SetWindowPos(FHandle, nullptr, 0, 0, r.right - r.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::CenterOnScreen() {
    RECT r;
    GetWindowRect(FHandle, &r);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    SetWindowPos(FHandle, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::Show() {
    FVisible = true;
    ShowWindow(FHandle, SW_SHOW);
    SetForegroundWindow(FHandle);
}

void TForm::Hide() {
    FVisible = false;
    ShowWindow(FHandle, SW_HIDE);
}

bool TForm::CloseQuery() {
    return !OnCloseQuery || OnCloseQuery();
}

void TForm::DoClose() {
    if (OnClose) {
        OnClose();
    }
}

void TForm::Close() {
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) {
        return;
    }
    DoClose();
    if (Application.MainForm() == this) {
        DestroyWindow(FHandle);
    } else {
        Hide();
    }
}

namespace {
// The thread's enabled top-level windows other than the modal one, disabled for one scope.
class TDisabledWindows {
public:
    explicit TDisabledWindows(HWND keep) : FKeep(keep) {
        EnumThreadWindows(GetCurrentThreadId(), &DisableOne, reinterpret_cast<LPARAM>(this));
    }
    ~TDisabledWindows() {
        for (HWND wnd : FWindows) {
            if (IsWindow(wnd)) {
                EnableWindow(wnd, TRUE);
            }
        }
    }
    TDisabledWindows(const TDisabledWindows&) = delete;
    TDisabledWindows& operator=(const TDisabledWindows&) = delete;

private:
    static BOOL CALLBACK DisableOne(HWND wnd, LPARAM param) {
        auto* self = reinterpret_cast<TDisabledWindows*>(param);
        if (wnd != self->FKeep && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
            try {
                self->FWindows.push_back(wnd);
            } catch (...) {
                return FALSE;
            }
            EnableWindow(wnd, FALSE);
        }
        return TRUE;
    }
    HWND FKeep;
    std::vector<HWND> FWindows;
};
} // namespace

int TForm::ShowModal() {
    HWND previous = GetActiveWindow();
    FModalResult = mrNone;
    FModal = true;
    {
        TDisabledWindows disabled(FHandle);
        Show();
        MSG msg;
        while (FHandle != nullptr) {
            if (FModalResult != mrNone) {
                if (CloseQuery()) {
                    DoClose();
                    break;
                }
                FModalResult = mrNone;
            }
            const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got == 0) {
                PostQuitMessage(static_cast<int>(msg.wParam)); // for the outer loop
                FModalResult = mrCancel;
                break;
            }
            if (got == -1) {
                break;
            }
            DispatchOne(msg);
        }
        FModal = false;
    }
    if (FHandle != nullptr) {
        Hide();
    }
    if (previous != nullptr && IsWindow(previous)) {
        SetActiveWindow(previous);
    }
    return FModalResult;
}

namespace {
bool Usable(HWND wnd) {
    return wnd != nullptr && IsWindowVisible(wnd) && IsWindowEnabled(wnd);
}
} // namespace

void FocusControl(HWND wnd) {
    ::SetFocus(wnd);
    // As the dialog keys do when they move into a field: its text selected, ready to be typed over.
    if (GetFocus() == wnd && (SendMessageW(wnd, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0) {
        SendMessageW(wnd, EM_SETSEL, 0, -1);
    }
}

bool TForm::DialogKey(WPARAM key) {
    if (key == VK_RETURN) {
        HWND focus = GetFocus();
        auto* focused = dynamic_cast<TButton*>(TControl::FromHandle(focus));
        TButton* button = focused != nullptr && IsChild(FHandle, focus) && Usable(focus)
                              ? focused
                              : FindVisible([](TWinContainer& c) { return c.DefaultButton; });
        if (button != nullptr && Usable(button->Handle())) {
            button->Click();
        }
        return button != nullptr;
    }
    if (key == VK_ESCAPE) {
        if (TButton* button = FindVisible([](TWinContainer& c) { return c.CancelButton; })) {
            if (Usable(button->Handle())) {
                button->Click();
            }
            return true;
        }
        if (EscapeCloses) {
            SendMessageW(FHandle, WM_CLOSE, 0, 0);
            return true;
        }
    }
    return false;
}

void TForm::FocusFirst() {
    if (TControl* control = FindVisible([](TWinContainer& c) {
            return c.ActiveControl != nullptr && Usable(c.ActiveControl->Handle()) ? c.ActiveControl
                                                                                   : nullptr;
        })) {
        FocusControl(control->Handle());
    } else if (HWND first = GetNextDlgTabItem(FHandle, nullptr, FALSE)) {
        FocusControl(first);
    }
}

void TForm::SaveFocus() noexcept {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(FHandle, focus)) {
        FSavedFocus = focus;
    }
}

void TForm::RestoreFocus() {
    // A container that held the focus only because nothing on its page could take it does
    // not count: the page may have a control for it by now.
    if (Usable(FSavedFocus) && IsChild(FHandle, FSavedFocus) &&
        (GetWindowLongW(FSavedFocus, GWL_STYLE) & WS_TABSTOP) != 0) {
        ::SetFocus(FSavedFocus);
    } else {
        FocusFirst();
    }
}

UINT_PTR TForm::AddTimer(TTimer* timer) {
    FTimers.push_back(timer);
    return ++FLastTimerId;
}

void TForm::RemoveTimer(TTimer* timer) noexcept {
    std::erase(FTimers, timer);
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            SaveFocus();
            break;
        }
        if (HIWORD(wParam) == 0) { // not minimised
            RestoreFocus();
            return 0;
        }
        break;
    case WM_SETFOCUS:
        RestoreFocus();
        return 0;
    case WM_SHOWWINDOW:
        if (wParam != FALSE && OnShow) {
            OnShow();
        }
        break;
    case WM_TIMER:
        for (TTimer* timer : FTimers) {
            if (timer->FId == wParam) {
                timer->Fire();
                return 0;
            }
        }
        break;
    case WM_DESTROY:
        if (Application.MainForm() == this) {
            PostQuitMessage(0);
        }
        break;
    }
    return TWinContainer::WndProc(message, wParam, lParam);
}
