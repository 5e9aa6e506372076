#include "ui/RichEdit.h"

#include "common/Errors.h"
#include "common/Handles.h"

#include <richedit.h>

namespace {
// Loaded once and kept: the window class lives in the library.
void LoadRichEditLibrary() {
    static TUniqueModule library(LoadLibraryW(L"Msftedit.dll"));
    if (!library) {
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
