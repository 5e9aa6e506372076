#pragma once
#include "install/InstallRecord.h"
#include "setup/CommandLine.h"

#include <string>

// The distribution a check of target compares with (ending in "\"): the folder of the running
// Install.exe; for the uninstaller in the installation, the folder the record (else the entry
// in the list of programs) remembers. When it is gone, a window mode asks for it with the
// folder browser until a distribution is chosen; empty when none is (or a silent mode).
std::wstring FindSourceFolder(const TCommandLine& options, const std::wstring& target,
                              const TRecordSet& record);
