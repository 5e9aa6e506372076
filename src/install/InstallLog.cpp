#include "install/InstallLog.h"

const wchar_t* const LogDone = L"Завершено";
const wchar_t* const LogFailed = L"ОШИБКА!!!";

void TInstallLog::Line(const std::wstring& text) {
    FHost.LogAdd(text);
}

void TInstallLog::LineAndPaint(const std::wstring& text) {
    FHost.LogAdd(text);
    FHost.ProcessMessages();
}

TLogStep TInstallLog::Step(const std::wstring& text) {
    TLogStep step{FHost.LogAdd(text), text};
    FHost.ProcessMessages();
    return step;
}

void TInstallLog::Finish(const TLogStep& step, bool succeeded) {
    // The entry keeps its own text; the suffix follows without a blank.
    FHost.LogReplace(step.Index, step.Text + (succeeded ? LogDone : LogFailed));
}
