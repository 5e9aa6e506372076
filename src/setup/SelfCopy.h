#pragma once
#include <windows.h>

#include <string>

// Windows will not delete a running program's file, so the uninstaller in the target folder
// hands its work to a copy of itself in the temporary folder: in a folder of its own, made by
// this run under a name nobody can guess, so that nothing anyone put there beforehand (a
// library of a system library's name) is beside it. The copy and its folder go at the next
// restart, or at once when the copy ends by itself.

// Whether this program runs from target's own uninstaller (target ends in "\").
bool RunsFromUninstaller(const std::wstring& target);

struct TCopyRun {
    bool Started = false;
    DWORD ExitCode = 0;
    std::wstring Error; // why the copy could not be started
};
// Copies the running program to a new folder in the temporary folder, schedules the copy's
// deletion at restart, starts it with `arguments` and this process's id after /PARENT=, in
// the folder this program was started in, and waits for it. The copy either ends this process
// with its result (see HandOver.h) or ends itself.
TCopyRun ContinueFromCopy(const std::wstring& arguments);
