#pragma once
#include "setup/CommandLine.h"

#include <string>

// Whether this start removes an installation: /UNINSTALL, a copy started by an uninstaller,
// or a program named as the uninstaller that the runs leave in the target folder.
bool IsRemoval(const TCommandLine& options);

// The folder to remove from, with a trailing delimiter: /DIR, else the uninstaller's own
// folder, else the folder in the list of installed programs, else the default one.
std::wstring RemovalTarget(const TCommandLine& options, const std::wstring& defaultTarget);

struct TRemovalOutcome {
    int ExitCode;
    std::wstring Text; // for the log's last line
};
// Removes the installation in target, asking first unless the command line said otherwise.
// Runs in the copy of the uninstaller when it was started from one.
TRemovalOutcome RemoveInstallation(const TCommandLine& options, const std::wstring& target);
