#include "ui/MessageDlg.h"

#include "common/SetupLog.h"

namespace {

// The platform's box, with what it said and what was answered kept in the log file.
int ShowBox(HWND owner, const std::wstring& text, const wchar_t* caption, UINT flags) {
    LogLine(std::wstring(L"Окно \"") + caption + L"\": " + text);
    const int result = MessageBoxW(owner, text.c_str(), caption, flags);
    LogLine(std::wstring(L"Ответ: ") + (result == IDYES      ? L"Да"
                                        : result == IDNO     ? L"Нет"
                                        : result == IDCANCEL ? L"Отмена"
                                                             : L"OK"));
    return result;
}

} // namespace

void ShowErrorBox(HWND owner, const std::wstring& text) {
    ShowBox(owner, text, L"Ошибка", MB_ICONERROR | MB_OK);
}

void ShowWarningBox(HWND owner, const std::wstring& text) {
    ShowBox(owner, text, L"Предупреждение", MB_ICONWARNING | MB_OK);
}

void ShowInformationBox(HWND owner, const std::wstring& text) {
    ShowBox(owner, text, L"Информация", MB_ICONINFORMATION | MB_OK);
}

bool AskConfirmation(HWND owner, const std::wstring& text) {
    return ShowBox(owner, text, L"Подтверждение", MB_ICONQUESTION | MB_YESNO) == IDYES;
}

bool AskWarningOkCancel(HWND owner, const std::wstring& text) {
    return ShowBox(owner, text, L"Предупреждение", MB_ICONWARNING | MB_OKCANCEL) == IDOK;
}

bool AskWarning(HWND owner, const std::wstring& text) {
    return ShowBox(owner, text, L"Предупреждение", MB_ICONWARNING | MB_YESNO) == IDYES;
}
