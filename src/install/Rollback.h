#pragma once
#include "common/Paths.h"
#include "install/RollbackJournal.h"

#include <functional>
#include <map>
#include <set>
#include <string>

// A run's way back. Before each change the run tells it what it is about to change: a file it
// replaces is moved aside into the run's hidden rollback folder below the target (renamed, on
// the same volume), one it edits is copied aside, and what it makes is noted, each in the
// journal before the change is made. A run that stops undoes it all (Undo); one that reaches
// its end deletes the folder (Commit). A run that is killed leaves its journal, and the next
// start undoes it (UndoInterruptedRun).
class TRollback {
public:
    // Makes the rollback folder and its journal in target (ending in "\") and names it where
    // the next start looks. False, and logged, when that is not possible: the run then goes
    // on without a way back, as before.
    bool Begin(const std::wstring& target);
    bool Active() const { return FJournal.IsOpen(); }
    bool Started() const { return !FFolder.empty(); } // there is something to undo or commit

    void BeforeFolder(const std::wstring& folder); // made when missing
    void BeforeCreate(const std::wstring& path);   // made when missing, else left alone
    void BeforeReplace(const std::wstring& path);  // replaced by a copy
    void BeforeEdit(const std::wstring& path);     // changed in place
    void BeforeTree(const std::wstring& source, const std::wstring& target); // a tree copied
    void BeforeShellFolder(const std::wstring& folder); // a folder the shell copies into
    // After the copy into a folder (or folders below it) that went aside whole: what the copy did
    // not replace comes back now, so that the run goes on with the folder merged, as a copy over it
    // leaves it.
    void AfterFolder(const std::wstring& folder);
    void AfterRename(const std::wstring& from, const std::wstring& to);
    // A file the run put back as it was (the clinic's database after a failed copy): the
    // undo leaves it alone.
    void LeaveAlone(const std::wstring& path);
    // A copy that failed after its file was moved aside leaves none: the file comes back now.
    void PutBack(const std::wstring& path);
    // Where a folder below the target that was there before the run is now: aside, when it
    // or a folder above it went there whole; else where it was.
    std::wstring EarlierPlace(const std::wstring& folder) const;
    // Whether a file that was there is waiting aside.
    bool SavedAside(const std::wstring& path) const { return FSavedAs.contains(path); }
    void BeforeValue(const std::wstring& key, const std::wstring& name); // below HKLM
    void BeforeKey(const std::wstring& key); // below HKLM: the run rewrites the whole key
    void BeforeFont(const std::wstring& path);
    void Ran(const std::wstring& program);

    // The run reached its end: what was moved aside is deleted. False when some of it stayed
    // (the next start finishes it).
    bool Commit();
    // Everything this run changed put back; each item to `log`. False when something could
    // not be put back: the journal stays for the next start.
    using TLogLine = std::function<void(const std::wstring&)>;
    bool Undo(const TLogLine& log);

private:
    bool Note(TJournalKind kind, const std::wstring& path, const std::wstring& other = {});
    bool Write(const std::vector<TJournalLine>& lines);
    std::wstring NextAside();
    void SaveAside(const std::wstring& path, bool keepInPlace);
    bool MoveFolderAside(const std::wstring& folder);

    std::wstring FTarget; // the installation folder, ending in a delimiter
    std::wstring FFolder; // the rollback folder, ending in "\"
    TRollbackJournal FJournal;
    unsigned FAsideCount = 0;
    std::set<std::wstring, TPathLess> FSeen;                  // saved or noted already
    std::map<std::wstring, std::wstring, TPathLess> FSavedAs; // file -> its name aside
    std::map<std::wstring, std::wstring, TPathLess> FAsideOf; // folder -> its name aside
    bool FJournalFailed = false;
};

// What the start of a program found of a run that was killed.
struct TInterruptedRun {
    bool Found = false;
    bool Undone = false;  // false: something could not be put back; the journal stays
    std::wstring Refused; // why its journal could not be trusted: nothing was undone
    std::wstring Target;  // the installation folder of that run
};
// Completes the rollback of a run that was killed or lost power, logging each item.
TInterruptedRun UndoInterruptedRun(const TRollback::TLogLine& log);
