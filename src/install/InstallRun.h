#pragma once
#include "install/InstallLog.h"
#include "install/InstallPlan.h"
#include "install/RunChoices.h"
#include "install/RunProgress.h"
#include "install/RunQuestions.h"
#include "install/Rollback.h"
#include "install/RunRecord.h"
#include "primitives/FilePrimitives.h"

#include <optional>
#include <string>

// How a run ended. An error raised by a step leaves Execute as the error itself.
enum class TRunResult {
    rrCompleted,
    rrCopiesFailed,  // went to its end, but files of the backups or the updater were not copied
    rrTargetRefused, // the target folder could not be made
    rrStopped,       // a step failed; the log says which and why
    rrFailed         // a step raised an error, which was reported
};

// The installation run behind "Начать установку": the plan's rows laid down in order, from
// the switch to the progress page to the closing question. A stop ends it with the log
// saying why; an error raised by a step ends it too, once the questions have reported it.
// Either way the run then undoes everything it changed.
class TInstallRun {
public:
    // sourceFolder is the distribution folder with a trailing delimiter (Fcopyfrom).
    TInstallRun(TRunChoices choices, std::wstring sourceFolder, TRunProgress& progress,
                TRunQuestions& questions);
    TRunResult Execute();

private:
    TRunResult Walk();
    void RollBack();
    // A row laid down; false stops the run.
    bool Apply(const TPlanRow& row);
    bool CreateFolder(const std::wstring& folder, const std::wstring& created,
                      const std::wstring& failed);
    std::wstring From(const TPlanRow& row, const wchar_t* name = L"") const;
    std::wstring To(const TPlanRow& row, const wchar_t* name = L"") const;

    // Target folder, settings, database and core files, fonts (InstallCore.cpp).
    void BeginRecord();
    void CopyUninstaller();
    void WriteSettingsKeys(const TPlanRow& row);
    void CreateReferenceFiles(const TPlanRow& row);
    bool CopyDatabase(const TPlanRow& row);
    TStreamCopy CopyStep(const std::wstring& name, const std::wstring& from,
                         const std::wstring& to);
    bool CopyFiles(const TPlanRow& row, bool stopOnFailure);
    void CreateCounterFile(const TPlanRow& row);
    void WriteBrandFile(const TPlanRow& row);
    void InstallFontsQuietly(const TPlanRow& row);

    // Driver, backups, updater, release level, shortcut, closing (InstallCompletion.cpp).
    void InstallDriver(const TPlanRow& row);
    void CopyTree(const TPlanRow& row);
    void ReportTreeFailures();
    void SetNewestReleaseLevel(const TPlanRow& row);
    std::wstring RunNewestBackupScript();
    void CreateDesktopShortcut();
    void Register();
    void Close();

    TRunChoices FChoices;
    std::wstring FSource; // Fcopyfrom
    std::wstring FTarget; // TargetDir
    TRunProgress& FProgress;
    TRunQuestions& FQuestions;
    TInstallLog FLog;
    TRunRecord FRecord;          // what this run and the earlier ones wrote, for removal
    TRollback FRollback;         // how to undo this run's changes
    TCopyFailures FTreeFailures; // of the trees copied so far, reported after the last
    bool FTreeFailed = false;    // some tree copy failed: the run ends with rrCopiesFailed
};
