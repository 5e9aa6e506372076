#pragma once
#include <span>

namespace e2e {

// The sample distribution's files as a default installation lays them down, written out here
// by hand so that the checks do not repeat the program's own tables.

// A single-file copy of the run; its log line names the file's last path component.
struct TFileCopy {
    const wchar_t* Source; // relative to the distribution folder
    const wchar_t* Target; // relative to the target folder
};

// The database, the engine's runtime files (the first list), its plug-ins and the suite's
// libraries, in the order of the run's log.
std::span<const TFileCopy> CoreFiles();

// The shipped fonts, in the order of installation, with the full names in their files (the
// Debian fonts that tools/fonts.list names).
struct TFont {
    const wchar_t* File;
    const wchar_t* FullName;
};
std::span<const TFont> Fonts();

// Folders of the distribution whose whole contents land in the target.
struct TFolderCopy {
    const wchar_t* Source; // relative to the distribution folder
    const wchar_t* Target; // relative to the target folder; empty for its root
};
constexpr TFolderCopy BackupFolder = {L"backup", L"backup\\"};
constexpr TFolderCopy UpdaterFolder = {L"Updater", L""};
constexpr TFolderCopy DriverFolder = {L"FTDIDriverInstall", L"FTDIDriverInstall\\"};

// What the newest sample backup records, and the level it gives.
constexpr wchar_t NewestBackup[] = L"R150320";
constexpr wchar_t ReleaseLevel[] = L"150320";

} // namespace e2e
