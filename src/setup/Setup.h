#pragma once
#include <string>

// The program as its command line asks: the wizard, or an installation nobody attends.
// Every run writes its log file. Returns the process's exit code. Runs inside a
// TApplicationScope, which owns the windows it makes.
int RunSetup(const std::wstring& commandLine);

// Exit codes of the unattended modes (the installation wizard ends with 0) and of removal.
enum TExitCode : int {
    ecInstalled = 0,     // installed, or removed
    ecBadStart = 1,      // bad command line, setup already running, or nothing to remove
    ecDeclined = 2,      // the question before removal was answered No
    ecTargetRefused = 3, // target folder refused or not made, or its disk too small
    ecStopped = 4,       // the run stopped on an error, or ended without some of its files;
                         // removal left something or found its record damaged; a repair left
                         // something as it was; the log file says where and why
    ecDifferences = 5    // a check found the installation not as the distribution has it
};
