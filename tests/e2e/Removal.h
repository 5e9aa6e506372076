#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Unattended.h"

namespace e2e {

class TContext;

constexpr wchar_t UninstallName[] = L"Uninstall.exe";

// A /VERYSILENT installation from a fresh copy of the distribution into target (moved aside
// first, see RemoveSuite); fails the scenario unless it ends with 0. Gives the copy's folder.
std::wstring InstallQuietly(TContext& context, const std::wstring& target);

// <target>Uninstall.exe started from C:\ with these arguments and awaited as RunCommandLine
// awaits it: the windows of every process are noted, its copy's included.
TSetupRun RunUninstall(const std::wstring& target, const std::wstring& arguments,
                       const std::function<void(DWORD)>& watch = {});

// The run's exit code, a crash named as one; a failure begins with `when`.
void CheckExit(TContext& context, const TSetupRun& run, DWORD expected,
               const std::wstring& when = L"");

// The removal's message boxes answered as a person would, whichever process shows them: the
// question with `answer` (IDYES or IDNO); the final box with OK, after reading the main window
// behind it (and saving it as removal.png when there is a shots folder). RunUninstall's watch.
class TRemovalAnswers {
public:
    TRemovalAnswers(const TContext& context, int answer) : FContext(context), FAnswer(answer) {}
    void operator()(DWORD processId);

    std::wstring Question;
    std::wstring Final;
    std::wstring MainCaption;      // the main window's, while the final box showed
    std::vector<std::wstring> Log; // its log list then

private:
    const TContext& FContext;
    int FAnswer;
    std::vector<HWND> FAnswered; // boxes clicked, still closing
};

// Whether the log holds the step's line in its finished form ("<step>....Завершено").
bool HasStepDone(const std::vector<std::wstring>& lines, const std::wstring& step);

// The Programs and Features entry's values, each as "type: data", read in the build's own
// registry view; empty when there is none there.
std::map<std::wstring, std::wstring> RegistrationValues();

// %TEMP% (ending in "\\"), and the removal log files there by their default name
// (Sontira-Uninstall-*.log), as full paths.
std::wstring TempFolder();
std::vector<std::wstring> RemovalLogsInTemp();
// The default log files of setup in %TEMP% (Sontira-Install-*.log).
std::vector<std::wstring> InstallLogsInTemp();
// The lines of the default log files written since `before` (InstallLogsInTemp) was taken.
std::vector<std::wstring> NewDefaultLogLines(const std::vector<std::wstring>& before);

// What an installation left, taken before a removal: every file below the target with its
// bytes, its folders, the entry's values, the shortcut. `kept` are files a removal must keep
// besides DTAfb\ and Settings\: files the scenario put there afterwards (recordings, which no
// run wrote) or changed since.
struct TMachineState {
    std::wstring Target;
    std::map<std::wstring, std::string> Files;
    std::vector<std::wstring> Folders;
    std::map<std::wstring, std::wstring> Registration;
    std::string Shortcut;
    std::vector<std::wstring> AlsoKept; // `kept` and what the suite's own scripts wrote

    bool Kept(const std::wstring& file) const;
};
TMachineState TakeState(const std::wstring& target, const std::vector<std::wstring>& kept = {});

// Nothing of it changed; failures begin with `when`.
void CheckUnchanged(TContext& context, const TMachineState& before, const std::wstring& when = L"");

// A removal after `before`: what it keeps is there byte for byte, every other file is gone but
// `left` (files it could not remove or must not: then the record, Uninstall.exe and the entry
// stay for the next run), every folder gone that holds nothing kept; the shortcut is gone.
void CheckRemoved(TContext& context, const TMachineState& before,
                  const std::vector<std::wstring>& left = {});

} // namespace e2e
