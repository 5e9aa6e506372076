#include "ui/Control.h"

#include "common/Errors.h"
#include "common/SystemLibrary.h"
#include "ui/Boundary.h"
#include "ui/Form.h"
#include "ui/WinContainer.h"

#include <commctrl.h>

namespace {
const wchar_t kControlProp[] = L"Sontira.TControl";
}

TControl::~TControl() {
    if (FParent != nullptr) {
        FParent->RemoveChild(this);
    }
    if (FHandle != nullptr && IsWindow(FHandle)) {
        if (FSubclassed) {
            CommonControlsFunctions().RemoveWindowSubclass(FHandle, &SubclassProc, 0);
        }
        RemovePropW(FHandle, kControlProp);
    }
}

void TControl::Subclass() {
    if (!FSubclassed) {
        const auto subclass = CommonControlsFunctions().SetWindowSubclass;
        if (!subclass || !subclass(FHandle, &SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this))) {
            throw EError(L"SetWindowSubclass failed");
        }
        FSubclassed = true;
    }
}

LRESULT CALLBACK TControl::SubclassProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR /*id*/, DWORD_PTR data) {
    if (message == WM_NCDESTROY) {
        CommonControlsFunctions().RemoveWindowSubclass(wnd, &SubclassProc, 0);
        reinterpret_cast<TControl*>(data)->FSubclassed = false;
        return CommonControlsFunctions().DefSubclassProc(wnd, message, wParam, lParam);
    }
    auto* self = reinterpret_cast<TControl*>(data);
    return GuardedMessage<LRESULT>(message, 0,
                                   [&] { return self->ControlProc(message, wParam, lParam); });
}

LRESULT TControl::ControlProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return CommonControlsFunctions().DefSubclassProc(FHandle, message, wParam, lParam);
}

TControl* TControl::FromHandle(HWND wnd) noexcept {
    return wnd != nullptr ? static_cast<TControl*>(GetPropW(wnd, kControlProp)) : nullptr;
}

void TControl::Attach(HWND wnd) {
    FHandle = wnd;
    SetPropW(wnd, kControlProp, this);
}

void TControl::CreateWindowOf(TWinContainer& parent, const TPlace& place, const wchar_t* className,
                              const std::wstring& text, DWORD style, DWORD exStyle,
                              void* createParam) {
    FParent = &parent;
    FPlace = place;
    FVisible = (style & WS_VISIBLE) != 0;
    // Created where the layout puts it: a move afterwards would cost a round trip and a resize.
    const RECT r = parent.PlaceOfNewChild(place);
    HWND wnd = CreateWindowExW(exStyle, className, text.c_str(), style | WS_CHILD, r.left, r.top,
                               r.right - r.left, r.bottom - r.top, parent.Handle(), nullptr,
                               GetModuleHandleW(nullptr), createParam);
    if (wnd == nullptr) {
        RaiseLastOSError(std::wstring(L"CreateWindowEx ") + className);
    }
    if (FromHandle(wnd) == nullptr) {
        Attach(wnd);
    }
    SendMessageW(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
    parent.AddChild(this);
}

RECT TControl::Bounds() const {
    RECT r{};
    GetWindowRect(FHandle, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(FHandle), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int TControl::Width() const {
    RECT r = Bounds();
    return r.right - r.left;
}

int TControl::Height() const {
    RECT r = Bounds();
    return r.bottom - r.top;
}

void TControl::ApplyPlace(int left, int top, int width, int height) {
    // A container lays out all its aligned children whenever one is added or one changes, so
    // most calls find the control in place already; a move costs a round trip to the server.
    const RECT now = Bounds();
    if (now.left == left && now.top == top && now.right - now.left == width &&
        now.bottom - now.top == height) {
        return;
    }
    SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    FPlace.Bounds = {left, top, width, height};
    if (FPlace.Align == TAlign::alNone) {
        ApplyPlace(left, top, width, height);
    } else if (FParent != nullptr) {
        FParent->Realign();
    }
}

void TControl::SetVisible(bool visible) {
    FVisible = visible;
    HWND focus = GetFocus();
    const bool hidesFocus =
        !visible && focus != nullptr && (focus == FHandle || IsChild(FHandle, focus));
    ShowWindow(FHandle, visible ? SW_SHOW : SW_HIDE);
    if (hidesFocus) {
        // The keys would go to a window nobody sees: the focus moves on, as a person expects.
        if (TForm* form = TForm::FromHandle(GetAncestor(FHandle, GA_ROOT))) {
            form->FocusFirst();
        }
    }
    if (FPlace.Align != TAlign::alNone && FParent != nullptr) {
        FParent->Realign();
    }
}

bool TControl::Enabled() const {
    return IsWindowEnabled(FHandle) != FALSE;
}

void TControl::SetEnabled(bool enabled) {
    EnableWindow(FHandle, enabled ? TRUE : FALSE);
}

std::wstring TControl::Text() const {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(FHandle)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(FHandle, text.data(), static_cast<int>(text.size()))));
    return text;
}

void TControl::SetText(const std::wstring& text) {
    SetWindowTextW(FHandle, text.c_str());
}

HFONT TControl::Font() const noexcept {
    if (FFont != nullptr) {
        return FFont;
    }
    return FParent != nullptr ? FParent->Font()
                              : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void TControl::SetFont(HFONT font) {
    FFont = font;
    if (FHandle != nullptr) {
        SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), TRUE);
    }
}

void TControl::SetFocus() {
    ::SetFocus(FHandle);
}

HBRUSH TControl::CtlColor(UINT message, HDC dc) {
    // Labels, check boxes and read-only fields take their parent's colour.
    if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) {
        SetBkColor(dc, FParent->Color());
        return FParent->Brush();
    }
    return nullptr;
}
