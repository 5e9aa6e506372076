#include "ui/MessageDlg.h"

void ShowErrorBox(HWND owner, const std::wstring& text) {
    MessageBoxW(owner, text.c_str(), L"Ошибка", MB_ICONERROR | MB_OK);
}

void ShowWarningBox(HWND owner, const std::wstring& text) {
    MessageBoxW(owner, text.c_str(), L"Предупреждение", MB_ICONWARNING | MB_OK);
}

bool AskConfirmation(HWND owner, const std::wstring& text) {
    return MessageBoxW(owner, text.c_str(), L"Подтверждение", MB_ICONQUESTION | MB_YESNO) == IDYES;
}

bool AskWarning(HWND owner, const std::wstring& text) {
    return MessageBoxW(owner, text.c_str(), L"Предупреждение", MB_ICONWARNING | MB_YESNO) == IDYES;
}
