#pragma once
#include "install/InstallHost.h"
#include "install/SilentAnswers.h"

#include <string>
#include <vector>

// What a run without any window needs of a host: the choices of the command line, a log
// kept in memory (the log file gets its lines from the run), and silent answers.
class TSilentHost : public TInstallHost {
public:
    struct TChoices {
        std::wstring Target; // the path field's text
        bool InstallDriver;  // the driver check box, and the answer to its question
        bool LovenaBrand;    // IsLovenaBrand
    };
    explicit TSilentHost(TChoices choices);

    const std::vector<std::wstring>& Lines() const noexcept { return FLines; }

    HWND Window() const override { return nullptr; }
    std::wstring PathText() const override { return FChoices.Target; }
    int WindowsIndex() const override { return 0; }
    bool DriverChecked() const override { return FChoices.InstallDriver; }
    bool LovenaBrand() const override { return FChoices.LovenaBrand; }
    void SetCopyFrom(const std::wstring& folder) override { FCopyFrom = folder; }
    std::wstring CopyFrom() const override { return FCopyFrom; }
    void SelectPage(TWizardPage) override {}
    void ShowEmptyLog() override { FLines.clear(); }
    int LogAdd(const std::wstring& line) override;
    void LogReplace(int index, const std::wstring& line) override;
    void LogRepaint() override {}
    void SetCanClose(bool) override {}
    void EnableExit() override {}
    void CloseWindow() override {}
    void ProcessMessages() override {}
    void SetBusyCursor(bool) override {}
    void ShowError(const std::wstring& text) override { FAnswers.ShowError(text); }
    bool Ask(TQuestion question, const std::wstring& text) override {
        return FAnswers.Ask(question, text);
    }
    bool Unattended() const override { return true; }

private:
    TChoices FChoices;
    TSilentAnswers FAnswers;
    std::wstring FCopyFrom;
    std::vector<std::wstring> FLines;
};
