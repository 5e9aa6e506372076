#include "common/Errors.h"

std::wstring SysErrorMessage(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD flags =
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    DWORD length =
        FormatMessageW(flags, nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring result;
    if (length != 0 && text != nullptr) {
        result.assign(text, length);
    }
    LocalFree(text);
    while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r' ||
                               result.back() == L' ' || result.back() == L'.')) {
        result.pop_back();
    }
    if (result.empty()) {
        wchar_t fallback[32];
        wsprintfW(fallback, L"0x%08X", static_cast<unsigned>(code));
        result = fallback;
    }
    return result;
}

void RaiseLastOSError(const std::wstring& context) {
    const DWORD code = GetLastError();
    throw EError(context + L": " + SysErrorMessage(code));
}

void CheckHResult(HRESULT hr) {
    if (FAILED(hr)) {
        throw EError(SysErrorMessage(static_cast<DWORD>(hr)));
    }
}
