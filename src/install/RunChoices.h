#pragma once
#include "install/InstallPlan.h"

#include <string>

// What the person (or the command line) chose for a run, read once before it starts.
struct TRunChoices {
    std::wstring Target;        // the target folder, ending in "\"
    bool ListA = true;          // the Windows box's first entry
    bool InstallDriver = false; // the driver check box, before its question
    bool LovenaBrand = false;   // the other brand's build (IsLovenaBrand)
    bool Unattended = false;    // nobody at the screen: no font-size page, the shell asks nothing

    TPlanChoices Plan() const { return {ListA, InstallDriver, LovenaBrand}; }
};
