#pragma once
#include <string>
#include <vector>

namespace e2e {

class TContext;
class TWizard;

// One installation run as the scenario made it, and so what it must have left behind.
struct TInstallation {
    std::wstring Source;       // the distribution copy Install.exe ran from, no trailing "\"
    std::wstring Target;       // the target folder as the run names it, ending in "\"
    bool Driver = true;        // the driver question answered Yes
    int Runs = 1;              // installations into Target so far, this one included
    std::wstring KeptDatabase; // on a reinstall, the name the earlier database was kept under
    std::vector<std::wstring> FontsMissing; // font files the machine lacked before the run
};

// Starts the record of a run into target from source: notes the fonts the machine lacks now.
TInstallation PlanInstallation(const std::wstring& source, const std::wstring& target, bool driver);

// The log the run must show, line by line.
std::vector<std::wstring> ExpectedLog(const TInstallation& installation);

// Everything a finished run leaves: the log (read from the wizard's list), "Выход" enabled on
// the progress page, the installed tree byte for byte, the settings, the fonts, the shortcut,
// the release level, the backup script's and the driver installer's records. In the demo the
// findings are printed as well.
void CheckInstallation(TContext& context, const TWizard& wizard, const TInstallation& installation);

// What a finished run leaves on the machine, without the log and the window: the tree, the
// settings, the fonts, the shortcut, the release level and the records.
void CheckLeftBehind(TContext& context, const TInstallation& installation);

// The parts, for scenarios that look at one of them again.
void CheckLog(TContext& context, const std::vector<std::wstring>& log,
              const TInstallation& installation);
void CheckTree(TContext& context, const TInstallation& installation);
void CheckSettings(TContext& context, const TInstallation& installation);
void CheckFonts(TContext& context, const TInstallation& installation);
void CheckShortcut(TContext& context, const TInstallation& installation);
void CheckReleaseInfo(TContext& context, const TInstallation& installation);
void CheckRecords(TContext& context, const TInstallation& installation);

} // namespace e2e
