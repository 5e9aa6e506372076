#include "ui/WinContainer.h"

#include "common/Errors.h"
#include "ui/Boundary.h"
#include "ui/PaintGuard.h"
#include "ui/BusyCursor.h"

#include <algorithm>

TWinContainer::~TWinContainer() {
    DetachWindow();
    for (TControl* child : FChildren) {
        child->FParent = nullptr;
    }
}

void TWinContainer::DetachWindow() noexcept {
    // Messages that arrive while the object is gone go to the default procedure.
    if (FHandle != nullptr && IsWindow(FHandle)) {
        SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
    }
}

void TWinContainer::RegisterClassOnce(const wchar_t* className, UINT style) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (GetClassInfoExW(instance, className, &wc)) {
        return;
    }
    wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = StaticWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    if (RegisterClassExW(&wc) == 0) {
        RaiseLastOSError(std::wstring(L"RegisterClassEx ") + className);
    }
}

void TWinContainer::CreateContainer(TWinContainer& parent, const TPlace& place,
                                    const wchar_t* className, const std::wstring& text, DWORD style,
                                    DWORD exStyle) {
    RegisterClassOnce(className);
    CreateWindowOf(parent, place, className, text, style | WS_CLIPCHILDREN,
                   exStyle | WS_EX_CONTROLPARENT, this);
}

TWinContainer* TWinContainer::FromWindowData(HWND wnd) noexcept {
    return reinterpret_cast<TWinContainer*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
}

LRESULT CALLBACK TWinContainer::StaticWndProc(HWND wnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<TWinContainer*>(cs->lpCreateParams);
        SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        if (self != nullptr) {
            self->Attach(wnd);
        }
    }
    TWinContainer* self = FromWindowData(wnd);
    if (self == nullptr) {
        return DefWindowProcW(wnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
        self->FHandle = nullptr;
        return DefWindowProcW(wnd, message, wParam, lParam);
    }
    return GuardedMessage<LRESULT>(message, 0,
                                   [&] { return self->WndProc(message, wParam, lParam); });
}

LRESULT TWinContainer::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(FHandle, message, wParam, lParam);
}

LRESULT TWinContainer::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (TControl* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
            child->Command(HIWORD(wParam));
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        if (TControl* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
            if (HBRUSH brush = child->CtlColor(message, reinterpret_cast<HDC>(wParam))) {
                return reinterpret_cast<LRESULT>(brush);
            }
        }
        break;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (TControl* child = FromHandle(item->hwndItem);
            child != nullptr && child->DrawItem(*item)) {
            return TRUE;
        }
        break;
    }
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(FHandle, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, Brush());
        return 1;
    }
    case WM_PAINT: {
        const TPaintGuard paint(FHandle);
        Paint(paint.Dc());
        return 0;
    }
    case WM_SIZE:
        Realign();
        return 0;
    case WM_SETCURSOR:
        if (TBusyCursor::Apply()) {
            return TRUE;
        }
        break;
    }
    return Default(message, wParam, lParam);
}

COLORREF TWinContainer::Color() const noexcept {
    if (FColor != clParent) {
        return FColor;
    }
    return FParent != nullptr ? FParent->Color() : GetSysColor(COLOR_BTNFACE);
}

HBRUSH TWinContainer::Brush() const noexcept {
    if (FBrush) {
        return static_cast<HBRUSH>(FBrush.get());
    }
    return FParent != nullptr ? FParent->Brush() : GetSysColorBrush(COLOR_BTNFACE);
}

void TWinContainer::SetColor(COLORREF color) {
    FColor = color;
    FBrush.reset(color != clParent ? CreateSolidBrush(color) : nullptr);
    if (FHandle != nullptr) {
        InvalidateRect(FHandle, nullptr, TRUE);
    }
}

void TWinContainer::SetFont(HFONT font) {
    TControl::SetFont(font);
    for (TControl* child : FChildren) {
        if (child->FFont == nullptr) {
            child->SetFont(nullptr);
        }
    }
}

void TWinContainer::AddChild(TControl* child) {
    FChildren.push_back(child);
    if (child->Align() != TAlign::alNone) {
        Realign();
    }
}

void TWinContainer::RemoveChild(TControl* child) noexcept {
    FChildren.erase(std::remove(FChildren.begin(), FChildren.end(), child), FChildren.end());
}

namespace {
// The rectangle that a child aligned by `place` takes from the free part of its parent; the
// free part shrinks by it.
RECT TakeEdge(RECT& free, const TPlace& place) {
    RECT r = free;
    switch (place.Align) {
    case TAlign::alTop:
        r.bottom = free.top += place.Bounds.bottom;
        break;
    case TAlign::alBottom:
        r.top = free.bottom -= place.Bounds.bottom;
        break;
    case TAlign::alLeft:
        r.right = free.left += place.Bounds.right;
        break;
    case TAlign::alRight:
        r.left = free.right -= place.Bounds.right;
        break;
    default:
        break;
    }
    return r;
}
} // namespace

RECT TWinContainer::FreeArea() const {
    RECT free;
    GetClientRect(FHandle, &free);
    InflateRect(&free, -FPadding, -FPadding);
    return free;
}

RECT TWinContainer::PlaceOfNewChild(const TPlace& place) const {
    if (place.Align == TAlign::alNone) {
        const RECT& b = place.Bounds;
        return {b.left, b.top, b.left + b.right, b.top + b.bottom};
    }
    RECT free = FreeArea();
    for (const TControl* c : FChildren) {
        if (c->Visible() && c->Align() != TAlign::alNone) {
            TakeEdge(free, c->FPlace);
        }
    }
    return TakeEdge(free, place);
}

void TWinContainer::Realign() {
    if (FHandle == nullptr) {
        return;
    }
    RECT free = FreeArea();
    for (TControl* c : FChildren) {
        if (!c->Visible() || c->Align() == TAlign::alNone) {
            continue;
        }
        const RECT r = TakeEdge(free, c->FPlace);
        c->ApplyPlace(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
}

void TWinContainer::SetPadding(int padding) {
    FPadding = padding;
    Realign();
}

void TWinContainer::ArrangeTabOrder() {
    std::vector<TControl*> order = FChildren;
    std::stable_sort(order.begin(), order.end(), [](const TControl* a, const TControl* b) {
        const RECT ra = a->Bounds();
        const RECT rb = b->Bounds();
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    HWND after = HWND_TOP;
    for (TControl* child : order) {
        SetWindowPos(child->Handle(), after, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
        after = child->Handle();
        if (auto* container = dynamic_cast<TWinContainer*>(child)) {
            container->ArrangeTabOrder();
        }
    }
}
