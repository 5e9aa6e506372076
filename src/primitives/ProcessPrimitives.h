#pragma once
#include <windows.h>

#include <string>

// Starts the program (its path quoted on the command line, then a blank and the parameters)
// in its own folder and a new console, and polls every 100 ms until it ends, without
// servicing any window. Returns its exit code. Raises EError when the program cannot be
// started, when the command line exceeds the system's 32,767 characters, or when the wait
// fails.
DWORD RunAndWait(const std::wstring& program, const std::wstring& parameters, WORD showWindow);

// Starts a whole command line in the current folder and a new console; when wait is set,
// blocks until it ends and returns its exit code, else returns 0 at once. -1 when it cannot
// be started or the command line exceeds 32,767 characters; nothing is raised.
int RunInCurrentDirAndWait(const std::wstring& commandLine, WORD showWindow, bool wait);
