#include "wizard/LargeFonts.h"

#include "common/Reboot.h"
#include "ui/MessageDlg.h"

const wchar_t* const RestartQuestionText =
    L"Изменения в настройки внесены, для того чтобы они\r\n"
    L"вступили в силу, требуется перзагрузить операционную систему.\r\n"
    L"Выполнить перезагрузку сейчас?";

namespace {

using TSetupChangeFontSize = BOOL(WINAPI*)(HWND owner, LPCWSTR pixelsPerInch);

} // namespace

void SwitchToLargeFonts() {
    // From the system folder only: a syssetup.dll planted beside the installer (a downloads
    // folder, a copied disc) must never run with the installer's rights.
    HMODULE library = LoadLibraryExW(L"syssetup.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (library == nullptr) {
        return;
    }
    auto change = reinterpret_cast<TSetupChangeFontSize>(
        reinterpret_cast<void*>(GetProcAddress(library, "SetupChangeFontSize")));
    // Without the function, and after a failed call, the library stays loaded to the end of
    // the process: a failed call may have left work of the library's own running.
    if (change == nullptr) {
        return;
    }
    if (change(nullptr, L"120") != FALSE) {
        FreeLibrary(library);
    }
}

void ChangeFontSizeAndAskRestart(HWND owner, const std::function<void()>& closeWindow) {
    SwitchToLargeFonts();
    if (!AskWarning(owner, RestartQuestionText)) {
        return;
    }
    // Hung programs may be closed, but the others are asked, so nobody loses unsaved work.
    RebootWindows(EWX_REBOOT | EWX_FORCEIFHUNG);
    closeWindow();
}
