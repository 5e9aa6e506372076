#pragma once
#include "install/InstallHost.h"
#include "install/InstallFiles.h"
#include "install/InstallLog.h"
#include "install/RunRecord.h"

#include <string>

// How a run ended. An error raised by a step leaves Execute as the error itself.
enum class TRunResult {
    rrCompleted,
    rrCopiesFailed,  // went to its end, but files of the backups or the updater were not copied
    rrTargetRefused, // the target folder could not be made
    rrStopped        // a step failed; the log says which and why
};

// The installation run behind "Начать установку", from the switch to the progress page to the
// closing question. A stop ends it quietly with the log saying why; an error raised by a step
// ends it too and reaches the window's error report.
class TInstallRun {
public:
    // sourceFolder is the distribution folder with a trailing delimiter (the executable's own).
    TInstallRun(TInstallHost& host, std::wstring sourceFolder);
    TRunResult Execute();

private:
    // Target folder, settings, database and core files, fonts.
    TRunResult InstallCore();
    void BeginRecord();
    bool CreateFolder(const std::wstring& folder, const std::wstring& created,
                      const std::wstring& failed);
    void WriteSettingsKeys();
    bool CopyCoreFiles();
    bool CopyDatabase();
    bool CopyStep(const std::wstring& name, const std::wstring& from, const std::wstring& to);
    bool CopyList(TNames names, const std::wstring& from, const std::wstring& to);
    bool CopyPlugins(const std::wstring& folder, TNames names);
    void CopyLibraries();
    void WriteBrandFile();
    void InstallFontsQuietly();

    // Driver, backups, updater, release level, shortcut, closing.
    TRunResult InstallCompletion();
    void InstallDriver();
    bool CopyBackupsAndUpdater();
    std::wstring RunNewestBackupScript();
    void CreateDesktopShortcut();
    void Register();
    void Close();

    TInstallHost& FHost;
    TInstallLog FLog;
    TRunRecord FRecord;   // what this run and the earlier ones wrote, for removal
    std::wstring FSource; // Fcopyfrom
    std::wstring FTarget; // TargetDir
};
