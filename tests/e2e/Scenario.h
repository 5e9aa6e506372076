#pragma once
#include <windows.h>

#include <span>
#include <string>
#include <vector>

namespace e2e {

class TWizard;

// What a scenario gets: the sample distribution to copy from, checks that record a failure
// and let the scenario go on, and screenshots.
class TContext {
public:
    TContext(std::wstring distribution, std::wstring shotsFolder, bool stepShots);

    // A fresh copy of the sample distribution (C:\dist-1, C:\dist-2, ...); its folder.
    std::wstring CopyDistribution() const;

    // Records a failure unless ok; the scenario goes on.
    void Check(bool ok, const std::wstring& what);
    void CheckEqual(const std::wstring& actual, const std::wstring& expected,
                    const std::wstring& what);
    // An information line under the scenario's name (the demo prints its findings this way).
    void Note(const std::wstring& line) const;
    // The demo walk: screenshots of every step, findings printed.
    bool Demo() const { return FStepShots; }

    // In the demo, saves the wizard's windows as <shots folder>\<name>.png; otherwise nothing.
    void Shot(const std::wstring& name, const TWizard& wizard) const;
    // The same, of one window alone.
    void Shot(const std::wstring& name, const TWizard& wizard, HWND window) const;
    // Saves a process's windows as <shots folder>\<name>.png whenever there is a shots folder
    // (for pictures the README shows that no page walk makes); otherwise nothing.
    void ProcessShot(const std::wstring& name, DWORD processId) const;
    // Saves the whole screen as <shots folder>\<scenario>-failed.png, once per scenario, when
    // there is a shots folder; never raises (it runs while a failure unwinds).
    void FailureShot() const;

    void StartScenario(const std::wstring& name);
    void RecordFailure(const std::wstring& message);
    const std::vector<std::wstring>& Failures() const { return FFailures; }

private:
    std::wstring FDistribution;
    std::wstring FShotsFolder;
    bool FStepShots;
    std::vector<std::wstring> FFailures;
    std::wstring FScenario;
    mutable bool FFailureShotTaken = false;

    void SavePng(const std::wstring& name, const RECT& area) const;
};

struct TScenario {
    const wchar_t* Name;
    void (*Run)(TContext& context);
};

// The scenarios a plain run goes through, in order.
std::span<const TScenario> AllScenarios();
// The fault-injection suite: one injected fault per scenario (FaultScenarios.cpp).
std::span<const TScenario> FaultScenarios();
// The scenarios of `--unprivileged`: they need a user without privileges (Scenarios.cpp).
std::span<const TScenario> UnprivilegedScenarios();
// The walk that `--demo` makes, with a screenshot of every page.
const TScenario& DemoScenario();

} // namespace e2e
