#include "ui/Accessible.h"

#include "ui/Button.h"
#include "ui/Control.h"
#include "ui/SkinButton.h"

#include <oleacc.h>
#include <wrl/client.h>

#include <string>

using Microsoft::WRL::ComPtr;

namespace {
using TCreateStdAccessibleObject = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using TLresultFromObject = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);

// Loaded once and kept: objects handed out may be used until the process ends.
struct TOleacc {
    TCreateStdAccessibleObject CreateStd = nullptr;
    TLresultFromObject Lresult = nullptr;
};

const TOleacc& Oleacc() {
    static const TOleacc functions = [] {
        TOleacc result;
        if (HMODULE library = LoadLibraryW(L"oleacc.dll")) {
            result.CreateStd = reinterpret_cast<TCreateStdAccessibleObject>(
                reinterpret_cast<void*>(GetProcAddress(library, "CreateStdAccessibleObject")));
            result.Lresult = reinterpret_cast<TLresultFromObject>(
                reinterpret_cast<void*>(GetProcAddress(library, "LresultFromObject")));
        }
        return result;
    }();
    return functions;
}

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The standard object with the role, name and state of the control.
class TAccessibleControl final : public IAccessible {
public:
    TAccessibleControl(ComPtr<IAccessible> inner, HWND wnd, long role)
        : FInner(std::move(inner)), FWnd(wnd), FRole(role) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        return FInner->QueryInterface(riid, out); // IOleWindow, IEnumVARIANT
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&FRefs); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG refs = InterlockedDecrement(&FRefs);
        if (refs == 0) {
            delete this;
        }
        return refs;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return FInner->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
        return FInner->GetTypeInfo(index, lcid, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override {
        return FInner->GetIDsOfNames(riid, names, count, lcid, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* error,
                                     UINT* argError) override {
        return FInner->Invoke(id, riid, lcid, flags, params, result, error, argError);
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return FInner->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return FInner->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        return FInner->get_accChild(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child) || name == nullptr) {
            return FInner->get_accName(child, name);
        }
        // The caption as a person reads it: without the access-key mark.
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(FWnd)) + 1, L'\0');
        text.resize(
            static_cast<size_t>(GetWindowTextW(FWnd, text.data(), static_cast<int>(text.size()))));
        std::erase(text, L'&');
        *name = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *name != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return FInner->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return FInner->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!IsSelf(child) || role == nullptr) {
            return FInner->get_accRole(child, role);
        }
        VariantInit(role);
        role->vt = VT_I4;
        role->lVal = FRole;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const HRESULT hr = FInner->get_accState(child, state);
        if (FAILED(hr) || !IsSelf(child) || state == nullptr || state->vt != VT_I4) {
            return hr;
        }
        if (FRole == ROLE_SYSTEM_CHECKBUTTON &&
            SendMessageW(FWnd, BM_GETCHECK, 0, 0) == BST_CHECKED) {
            state->lVal |= STATE_SYSTEM_CHECKED;
        }
        if (const auto* button = dynamic_cast<const TSkinButton*>(TControl::FromHandle(FWnd));
            button != nullptr && button->ShowsDefault()) {
            state->lVal |= STATE_SYSTEM_DEFAULT;
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return FInner->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return FInner->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return FInner->get_accKeyboardShortcut(child, keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return FInner->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return FInner->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return FInner->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return FInner->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return FInner->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return FInner->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
        return FInner->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!IsSelf(child)) {
            return FInner->accDoDefaultAction(child);
        }
        // Pressing a button or toggling a check box, as a click does.
        PostMessageW(FWnd, BM_CLICK, 0, 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return FInner->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return FInner->put_accValue(child, value);
    }

private:
    ~TAccessibleControl() = default;

    ComPtr<IAccessible> FInner;
    HWND FWnd;
    long FRole;
    LONG FRefs = 1;
};
} // namespace

LRESULT AccessibleObjectAnswer(HWND wnd, WPARAM wParam, LPARAM lParam, long role) {
    if (static_cast<LONG>(lParam) != OBJID_CLIENT) {
        return 0;
    }
    const TOleacc& oleacc = Oleacc();
    ComPtr<IAccessible> inner;
    if (oleacc.CreateStd == nullptr || oleacc.Lresult == nullptr ||
        FAILED(oleacc.CreateStd(wnd, OBJID_CLIENT, IID_IAccessible,
                                reinterpret_cast<void**>(inner.GetAddressOf())))) {
        return 0;
    }
    ComPtr<IAccessible> object;
    object.Attach(new TAccessibleControl(std::move(inner), wnd, role));
    const LRESULT result = oleacc.Lresult(IID_IAccessible, wParam, object.Get());
    return result > 0 ? result : 0;
}
