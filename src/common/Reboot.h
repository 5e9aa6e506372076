#pragma once
#include <windows.h>

#include <functional>

// The call that ends the Windows session: ExitWindowsEx unless replaced.
using TExitWindowsCall = std::function<BOOL(UINT flags, DWORD reason)>;

// Test seam: replaces the session-ending call and returns the one in place before. Tests must
// never end the session they run in; the program itself never calls this.
TExitWindowsCall ReplaceExitWindowsForTests(TExitWindowsCall call);

// Enables the shutdown privilege as far as it can, then ends the session with the given
// ExitWindowsEx flags and reason 0. True when the call reported success.
bool RebootWindows(UINT flags);
