#include "Scenario.h"

#include <windows.h>

#include "Automation.h"
#include "Files.h"
#include "Report.h"
#include "Screenshot.h"
#include "Wizard.h"
#include "common/Errors.h"

namespace e2e {

TContext::TContext(std::wstring distribution, std::wstring shotsFolder, bool stepShots)
    : FDistribution(std::move(distribution)), FShotsFolder(std::move(shotsFolder)),
      FStepShots(stepShots) {}

std::wstring TContext::CopyDistribution() const {
    const std::wstring folder = FreshFolderName(L"C:\\dist");
    CopyFolder(FDistribution, folder);
    if (!FileExists(folder + L"\\Install.exe")) {
        Fail(L"the copy " + folder + L" of " + FDistribution + L" holds no Install.exe");
    }
    return folder;
}

void TContext::Check(bool ok, const std::wstring& what) {
    if (!ok) {
        RecordFailure(what);
    }
}

void TContext::CheckEqual(const std::wstring& actual, const std::wstring& expected,
                          const std::wstring& what) {
    Check(actual == expected,
          what + L": got \"" + Visible(actual) + L"\", expected \"" + Visible(expected) + L"\"");
}

void TContext::Note(const std::wstring& line) const {
    Print(L"    " + line);
}

void TContext::Shot(const std::wstring& name, const TWizard& wizard) const {
    if (!FStepShots) {
        return;
    }
    // Let the windows paint what the last step changed before the screen is read, the focus
    // included (a window shown a moment ago takes it when it is activated).
    for (ULONGLONG end = GetTickCount64() + 3000;
         FocusOf(wizard.Main()) == nullptr && GetTickCount64() < end;) {
        Sleep(50);
    }
    Settle(wizard.Main());
    Sleep(300);
    SavePng(name, ProcessWindowsArea(wizard.ProcessId()));
}

void TContext::Shot(const std::wstring& name, const TWizard& wizard, HWND window) const {
    if (!FStepShots) {
        return;
    }
    Settle(wizard.Main());
    Sleep(300);
    SavePng(name, WindowArea(window));
}

void TContext::ProcessShot(const std::wstring& name, DWORD processId) const {
    if (!FShotsFolder.empty()) {
        SavePng(name, ProcessWindowsArea(processId));
    }
}

void TContext::FailureShot() const {
    if (FShotsFolder.empty() || FFailureShotTaken) {
        return;
    }
    FFailureShotTaken = true;
    try {
        SavePng(FScenario + L"-failed", ScreenArea());
    } catch (const EError& e) {
        Note(L"no screenshot: " + e.Message());
    }
}

void TContext::SavePng(const std::wstring& name, const RECT& area) const {
    CreateFolders(FShotsFolder);
    const std::wstring path = FShotsFolder + L"\\" + name + L".png";
    SaveScreenPng(area, path);
    Note(L"screenshot " + path);
}

void TContext::StartScenario(const std::wstring& name) {
    FScenario = name;
    FFailures.clear();
    FFailureShotTaken = false;
}

void TContext::RecordFailure(const std::wstring& message) {
    FFailures.push_back(message);
}

} // namespace e2e
