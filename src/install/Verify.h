#pragma once
#include "install/InstallPlan.h"
#include "install/InstallRecord.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

// The check of an installation against its distribution: the program files that the plan's
// rows copy and the record lists, the fonts, the shortcut and the entry in the list of
// programs. The clinic's folders, the files no run wrote and the database are never read.

enum class TFindingKind {
    fkMissing,          // a program file is not there
    fkDifferent,        // its bytes are not the distribution's
    fkReadOnly,         // made read-only since it was installed
    fkUnreadable,       // it could not be read
    fkOriginalMissing,  // the distribution lacks it (or could not be read): nothing to judge by
    fkFontMissing,      // a font the runs installed is not in the fonts folder
    fkFontUnregistered, // ... or not under its registry value
    fkShortcutMissing,  // the desktop shortcut
    fkEntryMissing,     // the entry in the list of programs
    fkEntryDiffers      // values of the entry
};

struct TFinding {
    TFindingKind Kind;
    const TPlanRow* Row = nullptr; // the row that lays it down; none for the entry
    std::wstring Original;         // the distribution's file
    std::wstring Target;           // the installed file, font file or shortcut
    std::wstring Detail;  // a font's registry value; the entry's values; a reason; both digests
    bool Writable = true; // a file: installed without the read-only attribute
};
using TFindings = std::vector<TFinding>;

// The line for the log and the window: "Файл отсутствует: C:\Holter\gbak.exe".
std::wstring FindingText(const TFinding& finding);

// Whether a folder holds a distribution of the suite, by the sources of the plan's rows.
bool IsDistributionFolder(const std::wstring& folder);

// Checks target (ending in "\") against the distribution in source (ending in "\"), as the
// record says the runs installed it. The entry's InstallSource is expected to be the recorded
// source, or source when none is recorded.
class TInstallCheck {
public:
    TInstallCheck(std::wstring source, std::wstring target, const TRecordSet& record);

    // Every finding, in the plan's order. The contents are compared on worker threads; the
    // calling thread calls `idle` meanwhile (see CompareContents).
    TFindings Run(const std::function<void()>& idle);
    // Program files looked at by the latest Run.
    size_t FilesChecked() const { return FFilesChecked; }
    // Whether a finding of Run still holds now (after a repair): the same check again, of that
    // one item.
    bool StillHolds(const TFinding& finding) const;

    // The program files Run looks at, each with the distribution's.
    struct TProgramFile {
        const TPlanRow* Row;
        std::wstring Original;
        std::wstring Target;
        bool Content;  // compared by content (not a file the run edits)
        bool Writable; // installed without the read-only attribute
    };
    const std::vector<TProgramFile>& ProgramFiles();

private:
    void ListProgramFiles();
    void ListTree(const TPlanRow& row, const std::wstring& from, const std::wstring& to);
    void AddFile(const TPlanRow& row, const std::wstring& from, const std::wstring& relative);
    TFindings CheckFiles(const std::function<void()>& idle) const;
    void CheckFonts(TFindings& findings) const;
    void CheckShortcuts(TFindings& findings) const;
    void CheckEntry(TFindings& findings) const;

    std::wstring FSource;
    std::wstring FTarget;
    const TRecordSet& FRecord;
    std::wstring FEntrySource;
    std::vector<TProgramFile> FFiles;
    std::set<std::wstring, TPathLess> FListed; // their paths relative to the target
    size_t FFilesChecked = 0;
};
