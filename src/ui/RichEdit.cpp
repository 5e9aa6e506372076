#include "ui/RichEdit.h"

#include "common/Errors.h"

#include <richedit.h>

namespace {
// Loaded once and never freed: the window class lives in the library, and rich edit windows
// may outlive any static owner of it at exit.
void LoadRichEditLibrary() {
    static const HMODULE library = LoadLibraryW(L"Msftedit.dll");
    if (library == nullptr) {
        RaiseLastOSError(L"Msftedit.dll");
    }
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
