#include "install/InstallLog.h"

#include "common/SetupLog.h"

const wchar_t* const LogDone = L"Завершено";
const wchar_t* const LogFailed = L"ОШИБКА!!!";

void TInstallLog::Line(const std::wstring& text) {
    FProgress.LogAdd(text);
    LogLine(text);
}

void TInstallLog::LineAndPaint(const std::wstring& text) {
    Line(text);
    FProgress.ProcessMessages();
}

TLogStep TInstallLog::Step(const std::wstring& text) {
    TLogStep step{FProgress.LogAdd(text), text};
    // In the file too as it starts: a run that dies in a step leaves the step named.
    LogLine(text);
    FProgress.ProcessMessages();
    return step;
}

void TInstallLog::Finish(const TLogStep& step, bool succeeded) {
    // The entry keeps its own text; the suffix follows without a blank.
    const std::wstring text = step.Text + (succeeded ? LogDone : LogFailed);
    FProgress.LogReplace(step.Index, text);
    LogLine(text);
}
