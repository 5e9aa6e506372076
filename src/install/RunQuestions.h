#pragma once
#include <string>

// The questions a run asks.
enum class TQuestion {
    qDriver,  // is the interface block connected? (Yes installs the driver)
    qFinished // installation complete: leave setup?
};

// Every question and error box of a run goes through here: the wizard shows them, an
// unattended run answers them itself and writes them to the log file.
class TRunQuestions {
public:
    virtual ~TRunQuestions() = default;
    virtual void ShowError(const std::wstring& text) = 0;
    virtual bool Ask(TQuestion question, const std::wstring& text) = 0;
    // The error being handled (called inside a catch block), reported as the program reports
    // errors; the run goes on to undo itself once it has been seen.
    virtual void ReportError() noexcept = 0;
};
