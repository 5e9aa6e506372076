#include "ui/RichEdit.h"

#include "common/Errors.h"
#include "common/Handles.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {
// Loaded once and never freed: the window class lives in the library, and rich edit windows
// may outlive any static owner of it at exit.
void LoadRichEditLibrary() {
    static const HMODULE library = LoadLibraryW(L"Msftedit.dll");
    if (library == nullptr) {
        RaiseLastOSError(L"Msftedit.dll");
    }
}

struct TReadCursor {
    const BYTE* Data;
    DWORD Left;
};

DWORD CALLBACK ReadRtf(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read) noexcept {
    auto* cursor = reinterpret_cast<TReadCursor*>(cookie);
    const DWORD count = std::min(cursor->Left, static_cast<DWORD>(std::max(size, LONG(0))));
    std::memcpy(buffer, cursor->Data, count);
    cursor->Data += count;
    cursor->Left -= count;
    *read = static_cast<LONG>(count);
    return 0;
}
} // namespace

void TRichEdit::Create(TWinContainer& parent, const TPlace& place) {
    LoadRichEditLibrary();
    CreateWindowOf(parent, place, MSFTEDIT_CLASS, L"",
                   WS_VISIBLE | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL);
}

void TRichEdit::SetBackground(COLORREF color) {
    SendMessageW(FHandle, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(color));
}

void TRichEdit::LoadRtf(const BYTE* data, DWORD size) {
    TReadCursor cursor{data, size};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&cursor), 0, &ReadRtf};
    SendMessageW(FHandle, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    if (stream.dwError != 0) {
        throw EError(L"The rich text document cannot be read");
    }
}

void TRichEdit::SetInnerBorder(int pixels) {
    RECT r;
    GetClientRect(FHandle, &r);
    InflateRect(&r, -pixels, -pixels);
    SendMessageW(FHandle, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&r));
}

void TRichEdit::LoadRtfInPixels(const BYTE* data, DWORD size) {
    TWindowDC screen(nullptr);
    const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
    if (dpi == 96 || dpi <= 0) {
        LoadRtf(data, size);
        return;
    }
    const std::string rtf(reinterpret_cast<const char*>(data), size);
    std::string scaled;
    scaled.reserve(rtf.size());
    size_t from = 0;
    for (size_t at = rtf.find("\\fs", from); at != std::string::npos; at = rtf.find("\\fs", from)) {
        size_t end = at + 3;
        while (end < rtf.size() && rtf[end] >= '0' && rtf[end] <= '9') {
            ++end;
        }
        scaled.append(rtf, from, end - from);
        if (end > at + 3) {
            const int halfPoints = std::stoi(rtf.substr(at + 3, end - at - 3));
            scaled.resize(scaled.size() - (end - at - 3));
            scaled += std::to_string(std::max(1, MulDiv(halfPoints, 96, dpi)));
        }
        from = end;
    }
    scaled.append(rtf, from, std::string::npos);
    LoadRtf(reinterpret_cast<const BYTE*>(scaled.data()), static_cast<DWORD>(scaled.size()));
}
