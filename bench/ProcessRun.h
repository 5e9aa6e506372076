#pragma once
#include <string>

// A program run that asks nothing (Install.exe /VERYSILENT, the peer's /S): timed from
// CreateProcessW to its exit, with its peak working set read while it runs (Wine has no
// figures for a process that has ended) and whether it ever showed a window.
struct TProcessRun {
    bool Started = false;
    double Ms = 0;
    double PeakWorkingSetKiB = 0;
    unsigned long ExitCode = 0;
    bool ShowedWindow = false;
    std::wstring Window;   // the first one's class and caption
    bool TimedOut = false; // ended after giveUpMs
};

// commandLine is the whole command line, the program's quoted path first. With endOnWindow
// the program is ended as soon as it shows a window (a run that must show none has failed).
TProcessRun RunProcess(const std::wstring& program, const std::wstring& commandLine,
                       double giveUpMs, bool endOnWindow);
