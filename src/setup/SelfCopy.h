#pragma once
#include <windows.h>

#include <string>

// Windows will not delete a running program's file, so the uninstaller in the target folder
// hands its work to a copy of itself in the temporary folder. The copy is deleted at the
// next restart.

// Whether this program runs from target's own uninstaller (target ends in "\").
bool RunsFromUninstaller(const std::wstring& target);

struct TCopyRun {
    bool Started = false;
    DWORD ExitCode = 0;
    std::wstring Error; // why the copy could not be started
};
// Copies the running program to the temporary folder, schedules the copy's deletion at
// restart, starts it with `arguments` and this process's id after /PARENT=, and waits for it.
// The copy either ends this process with its result (see ReleaseParent) or ends itself.
TCopyRun ContinueFromCopy(const std::wstring& arguments);

// In the copy: ends the uninstaller that started it, so that whoever waits for that one
// learns the result now, and waits until its file is free. A process that is not target's
// uninstaller is left alone. False when it could not be ended.
bool ReleaseParent(DWORD parentId, const std::wstring& target, DWORD exitCode);
