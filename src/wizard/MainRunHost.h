#pragma once
#include "install/RunProgress.h"
#include "install/RunQuestions.h"

class TFMain;

// Connects a run or a removal to the wizard's window: the progress page's list, the window's
// state, and the questions as message boxes over it.
class TMainRunHost final : public TRunProgress, public TRunQuestions {
public:
    explicit TMainRunHost(TFMain& form) : FForm(form) {}

    void ShowProgressPage() override;
    int LogAdd(const std::wstring& line) override;
    void LogReplace(int index, const std::wstring& line) override;
    void LogRepaint() override;
    void ProcessMessages() override;
    void SetCanClose(bool canClose) override;
    void SetBusyCursor(bool busy) override;
    void EnableExit() override;
    void ShowFontSizePage() override;
    void CloseWindow() override;

    void ShowError(const std::wstring& text) override;
    bool Ask(TQuestion question, const std::wstring& text) override;
    void ReportError() noexcept override;

private:
    TFMain& FForm;
};
