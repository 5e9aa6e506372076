#pragma once
#include "install/InstallPlan.h"

#include <string>

// Empty when the target's volume has room for what the plan's rows will write from `source`
// into `target` (both ending in "\"); else the text that says so, beginning "Недостаточно
// места на диске". A volume whose free space cannot be read is not held against the run.
std::wstring FreeSpaceShortage(const std::wstring& source, const std::wstring& target,
                               TPlanChoices choices);
