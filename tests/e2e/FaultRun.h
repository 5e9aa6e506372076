#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Snapshot.h"
#include "Wizard.h"

namespace e2e {

class TContext;

// How an installation run ended, as the user saw it.
struct TRunEnd {
    enum TKind { reCompleted, reErrorBox, reStopped };
    TKind Kind = reStopped;
    std::wstring BoxText;          // the error box, answered OK
    std::vector<std::wstring> Log; // without the rollback's line
    std::wstring Undo;             // the rollback's line, "" when the run undid nothing
    bool ExitEnabled = false;
    std::wstring Page;

    bool LogHas(const std::wstring& line) const;
    // The last line (empty when there is none).
    std::wstring LastLine() const;
};

// An earlier installation in a target folder, with the clinic's own data; Check proves that
// none of it was lost (the database may have moved to a .bak beside the new one).
struct TEarlierInstall {
    std::wstring Target; // with a trailing backslash
    std::string Database;
    std::string Counter;
    std::string Records;
    bool CheckIni = true; // false when the case itself replaced holter.ini

    static TEarlierInstall Seed(const std::wstring& target);
    // A real one: Install.exe /VERYSILENT of the distribution (still whole) into target, then
    // the clinic's data as Seed puts it; then the suite's fonts go (files and values), so that
    // the run under test installs them again.
    static TEarlierInstall Install(const std::wstring& distribution, const std::wstring& target);
    void Check(TContext& context) const;
    // The R47.FDB.*.bak files in DTAfb, by name.
    std::vector<std::wstring> DatabaseBackups() const;
};

// One fault case's installation: the wizard started from a distribution copy, walked to the
// options page with the target typed in, and "Начать установку" pressed.
class TFaultInstall {
public:
    // The arguments and startBox as TWizard takes them.
    TFaultInstall(TContext& context, const std::wstring& distribution,
                  const std::wstring& arguments = L"", std::wstring* startBox = nullptr);

    TWizard& Wizard() { return *FWizard; }

    // Called when the driver question shows, before it is answered: the moment between the
    // run's two halves, for a fault that must come in the middle of a run.
    std::function<void()> AtDriverQuestion;

    // Walks the pages and starts the run; WaitEnd answers the driver question as told.
    void Start(const std::wstring& target, bool installDriver = false);
    // Waits until the run completes (the font-size page), shows an error box (read, then
    // answered OK) or stops with a failed step, and reads what the window shows.
    TRunEnd WaitEnd();
    // Start and WaitEnd.
    TRunEnd Run(const std::wstring& target, bool installDriver = false);
    // After Start: waits until the run asks the driver question (the fonts are in then, the
    // backups and the updater not yet) and leaves it open; WaitEnd answers it. The box.
    HWND WaitDriverQuestion();
    // Ends the program at once, as a power cut would, and waits until it is gone.
    void Kill();
    // Closes the window with its close box; checks that the program ended with exit code 0
    // (no crash, no hang).
    void CloseAndCheckExit();
    // Lines of the log list as they are now.
    std::vector<std::wstring> Log() const;

private:
    TContext& FContext;
    std::unique_ptr<TWizard> FWizard;
    int FDriverAnswer = IDNO;
};

// Common checks of an end: its kind, the error box text (a prefix of it) and "Выход".
void CheckEnd(TContext& context, const TRunEnd& end, TRunEnd::TKind kind,
              const std::wstring& boxStart = L"");

// A run that stopped put everything back: the list ends with the rollback's line, finished,
// and the machine equals the snapshot taken before the run. The newest backup's script, a
// program of others, may have added to backup-ran.txt, which is not undone.
void CheckUndone(TContext& context, const TRunEnd& end, const TSnapshot& before);

// A fresh target folder name under C:\ (C:\target-1\, ...), not created.
std::wstring FreshTarget();

} // namespace e2e
