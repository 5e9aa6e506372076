#include "setup/SilentAnswers.h"

#include "ui/Application.h"

#include "common/SetupLog.h"

void TSilentAnswers::ShowError(const std::wstring& text) {
    LogLine(L"Ошибка: " + text);
}

bool TSilentAnswers::Ask(TQuestion question, const std::wstring& text) {
    const bool yes = question != TQuestion::qDriver || FInstallDriver;
    LogLine(L"Вопрос: " + text);
    LogLine(std::wstring(L"Ответ без участия пользователя: ") + (yes ? L"Да" : L"Нет"));
    return yes;
}

void TSilentAnswers::ReportError() noexcept {
    Application.HandleException(); // unattended, to the log file only
}
