#include "ui/RcData.h"

#include "common/Errors.h"

namespace {
[[noreturn]] void RaiseLastError() {
    const DWORD code = GetLastError();
    CheckHResult(HRESULT_FROM_WIN32(code != 0 ? code : ERROR_RESOURCE_DATA_NOT_FOUND));
    throw EError(L"Resource not found");
}
} // namespace

TRcData FindRcData(const wchar_t* name) {
    const HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, name, MAKEINTRESOURCEW(10)); // RT_RCDATA
    if (info == nullptr) {
        RaiseLastError();
    }
    HGLOBAL loaded = LoadResource(module, info);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) {
        RaiseLastError();
    }
    return {static_cast<const BYTE*>(data), SizeofResource(module, info)};
}
