#pragma once
#include "install/RunProgress.h"

#include <string>

// A step line as appended, to be finished in place.
struct TLogStep {
    int Index;
    std::wstring Text;
};

// The progress log of a run: plain lines, and step lines ending in "...." that are finished
// in place with "Завершено" or "ОШИБКА!!!". Appending a step line lets the window paint it
// before the step's work begins; finishing a line does not. The log file receives every line
// in its final form, in the list's order, and each step line also as it starts.
class TInstallLog {
public:
    explicit TInstallLog(TRunProgress& progress) : FProgress(progress) {}

    void Line(const std::wstring& text);         // a plain line
    void LineAndPaint(const std::wstring& text); // a plain line, then one message pass
    TLogStep Step(const std::wstring& text);     // a step line, to be finished
    void Finish(const TLogStep& step, bool succeeded);

private:
    TRunProgress& FProgress;
};

extern const wchar_t* const LogDone;   // "Завершено"
extern const wchar_t* const LogFailed; // "ОШИБКА!!!"
