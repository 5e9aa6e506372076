#pragma once
#include "install/RunProgress.h"

#include <string>
#include <vector>

// The progress of a run without any window: the list's lines kept in memory (the log file
// gets them from the run's log); nothing else to show.
class TSilentProgress final : public TRunProgress {
public:
    const std::vector<std::wstring>& Lines() const noexcept { return FLines; }

    void ShowProgressPage() override { FLines.clear(); }
    int LogAdd(const std::wstring& line) override;
    void LogReplace(int index, const std::wstring& line) override;
    void LogRepaint() override {}
    void ProcessMessages() override {}
    void SetCanClose(bool) override {}
    void SetBusyCursor(bool) override {}
    void EnableExit() override {}
    void ShowFontSizePage() override {}
    void CloseWindow() override {}

private:
    std::vector<std::wstring> FLines;
};
