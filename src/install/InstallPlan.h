#pragma once
#include <windows.h>

#include <span>
#include <string>

// Everything a run lays down, one row per thing, in the run's order: the run walks these rows,
// the free-space check adds up their bytes, and removal and the path page learn from them
// which folders are the clinic's.
using TNames = std::span<const wchar_t* const>;

// When a row applies, by the choices of the run.
enum class TPlanWhen {
    pwAlways,
    pwListA,  // the Windows box's first entry
    pwListB,  // any other entry
    pwDriver, // the driver is to be installed
    pwBrand   // the other brand's build
};

// What the run does for a row.
enum class TPlanAction {
    paUninstaller,    // this program's own file, copied (not in the record)
    paSettingsKeys,   // two keys written into an INI file
    paReferenceFiles, // reference data files made where missing
    paDatabase,       // the database copied, the clinic's own kept beside it
    paFiles,          // named files copied; the first that fails stops the run
    paLibraries,      // named files copied; one that fails does not stop the run
    paCounterFile,    // the counter file made where missing
    paBrandFile,      // a key written into the brand's INI file
    paFonts,          // the fonts the Windows fonts folder lacks, copied and registered
    paDriver,         // the driver folder through the shell, then its installer run
    paTree,           // a whole folder tree copied; files that fail are collected
    paReleaseLevel,   // the newest backup's script run and its level written into the file
    paShortcut        // the desktop shortcut
};

// What a row costs the target's volume.
enum class TPlanBytes {
    pbNothing, // made by the run, a few bytes
    // The source's bytes, whatever is there: a file the run replaces stays in the rollback
    // folder until the run has reached its end, and the clinic's database stays as its .bak.
    pbWhole,
    pbMissing // the source's bytes of the files the target folder lacks
};

struct TPlanRow {
    TPlanAction Action;
    TPlanWhen When;
    const wchar_t* Source; // below the distribution folder; "" for what the run makes
    const wchar_t* Target; // below the target folder (fonts: the Windows fonts folder)
    // The single files; for a tree, those of its files that must end writable.
    TNames Names;
    TPlanBytes Bytes;
    bool Kept; // the clinic's folder: removal never takes anything from it
    bool Busy; // in the part of the run that refuses to close the window
};

// The rows, in the run's order.
std::span<const TPlanRow> InstallPlan();

// The choices that decide which rows apply.
struct TPlanChoices {
    bool ListA;
    bool InstallDriver;
    bool LovenaBrand;
};
bool Applies(const TPlanRow& row, TPlanChoices choices);

// The folder below the target that holds the settings (with its trailing delimiter): the path
// page makes it with the target.
const wchar_t* SettingsFolder();

// Whether a path relative to the target lies in a folder that is the clinic's.
bool IsKeptForClinic(const std::wstring& relative);

// The bytes the applying rows will add to the target's volume, from `source` into `target`
// (both ending in "\") and the Windows fonts folder `fonts`. Never below zero.
ULONGLONG PlanBytes(const std::wstring& source, const std::wstring& target,
                    const std::wstring& fonts, TPlanChoices choices);

// Names the plan and its callers share.
namespace InstallFiles {
inline constexpr const wchar_t* Database = L"R47.FDB";
inline constexpr const wchar_t* ReleaseFile = L"ReleaseInfo";
inline constexpr const wchar_t* DriverInstaller = L"FTDIDriverInstall\\FTDIDriverInstall.exe";
inline constexpr const wchar_t* BackupFolder = L"backup\\";
} // namespace InstallFiles
