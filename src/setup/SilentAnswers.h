#pragma once
#include "install/RunQuestions.h"

#include <string>

// How an unattended run answers the run's questions and boxes: nobody is asked, everything
// goes to the log file. The driver question is answered as the command line said; the
// closing question Yes.
class TSilentAnswers final : public TRunQuestions {
public:
    explicit TSilentAnswers(bool installDriver) : FInstallDriver(installDriver) {}

    void ShowError(const std::wstring& text) override;
    bool Ask(TQuestion question, const std::wstring& text) override;
    void ReportError() noexcept override;

private:
    bool FInstallDriver;
};
