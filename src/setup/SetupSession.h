#pragma once
#include "common/Handles.h"
#include "setup/CommandLine.h"

#include <string>

// The log file's opening and closing lines; title names what the program does.
void LogHeader(const std::wstring& title, const std::wstring& commandLine,
               const TCommandLine& options, const std::wstring& target);
void LogResult(const std::wstring& result, int exitCode);

// Text that someone at the screen reads in a box; unattended without a window it goes to the
// log file only.
void Tell(TSetupMode mode, const std::wstring& text, UINT icon);

// Held for the program's life: a second copy started meanwhile finds it taken.
class TSingleInstance {
public:
    TSingleInstance();
    bool AlreadyRunning() const noexcept { return FAlreadyRunning; }

private:
    TUniqueHandle FMutex;
    bool FAlreadyRunning = false;
};
