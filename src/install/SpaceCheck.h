#pragma once
#include <windows.h>

#include <string>

// The choices that change what the run writes.
struct TSpaceChoices {
    bool ListA;         // the Windows box's first entry
    bool InstallDriver; // the driver folder is copied
};

// The bytes the run will write from `source` into `target` (both ending in "\"): database,
// runtime, plug-ins, libraries, the fonts the fonts folder lacks, the driver folder when
// chosen, backups and updater, less the bytes of the files they replace. The kept database
// is renamed, so it frees nothing.
ULONGLONG BytesToInstall(const std::wstring& source, const std::wstring& target,
                         TSpaceChoices choices);

// Empty when the target's volume has room for BytesToInstall; else the text that says so,
// beginning "Недостаточно места на диске". A volume whose free space cannot be read is not
// held against the run.
std::wstring FreeSpaceShortage(const std::wstring& source, const std::wstring& target,
                               TSpaceChoices choices);
