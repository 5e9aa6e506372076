#pragma once
#include <windows.h>
#include <oleauto.h>

#include <string>

// A BSTR owned for one scope.
class TBStr {
public:
    TBStr() = default;
    explicit TBStr(const std::wstring& text)
        : FValue(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    TBStr(const TBStr&) = delete;
    TBStr& operator=(const TBStr&) = delete;
    ~TBStr() { SysFreeString(FValue); }

    BSTR get() const noexcept { return FValue; }
    BSTR* put() noexcept {
        SysFreeString(FValue);
        FValue = nullptr;
        return &FValue;
    }
    std::wstring str() const { return FValue ? std::wstring(FValue, SysStringLen(FValue)) : L""; }

private:
    BSTR FValue = nullptr;
};

// A VARIANT cleared at the end of its scope.
class TVariant {
public:
    TVariant() { VariantInit(&FValue); }
    explicit TVariant(const std::wstring& text) : TVariant() {
        FValue.vt = VT_BSTR;
        FValue.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    }
    explicit TVariant(bool value) : TVariant() {
        FValue.vt = VT_BOOL;
        FValue.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
    TVariant(const TVariant&) = delete;
    TVariant& operator=(const TVariant&) = delete;
    ~TVariant() { VariantClear(&FValue); }

    VARIANT& get() noexcept { return FValue; }
    VARIANT* put() noexcept {
        VariantClear(&FValue);
        return &FValue;
    }

private:
    VARIANT FValue;
};
