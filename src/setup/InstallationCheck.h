#pragma once
#include "setup/CommandLine.h"

#include <string>

// /VERIFY and /REPAIR: the installation in target (ending in "\") checked against its
// distribution, and with /REPAIR put right, in the window the mode asks for.
struct TCheckOutcome {
    int ExitCode;
    std::wstring Text; // for the log's last line
};
TCheckOutcome CheckInstallation(const TCommandLine& options, const std::wstring& target);

// The program's title for a check or a repair, and its log file's name prefix.
std::wstring CheckTitle(const TCommandLine& options);
std::wstring CheckLogPrefix(const TCommandLine& options);
