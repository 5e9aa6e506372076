#pragma once
#include "common/Handles.h"
#include "common/PendingDeletions.h"
#include "install/InstallRecord.h"
#include "primitives/TreeCopy.h"

#include <functional>
#include <initializer_list>
#include <map>
#include <set>
#include <string>

// The record a run keeps of what it writes, appended line by line as the run goes, so that a
// run that stops anywhere leaves a record of what it wrote. It carries over what earlier runs
// recorded in the same folder.
class TRunRecord {
public:
    // Starts the record in target (ending in "\"). Returns a line for the log when there was
    // something to say: an earlier record that could not be read is put aside, and this run's
    // record starts anew.
    // `settingAside` is told of the file a damaged record becomes, before it does.
    std::wstring Begin(const std::wstring& target,
                       const std::function<void(const std::wstring&)>& settingAside = {});
    // Goes on with a record just read from target (by a check): appends to it as it stands,
    // without reading or rewriting it first.
    void Continue(const std::wstring& target, TRecordSet entries);

    // Before a file below the target is written: notes whether it is there, and which of its
    // folders the write will make.
    void Expect(const std::wstring& path);
    // Before a folder below the target is made: notes it, and its parents, if they are not
    // there yet.
    void ExpectFolder(const std::wstring& path);
    // After: the file as it is now; a file that is not there is not recorded. inPlace: the
    // write edited the file where it was (an INI file's keys), rather than copying over it.
    void Written(const std::wstring& path, bool inPlace = false);
    // An edit in place of these files, with the record told before and after.
    template <class F> void Write(std::initializer_list<std::wstring> files, const F& write) {
        for (const std::wstring& file : files) {
            Expect(file);
        }
        write();
        for (const std::wstring& file : files) {
            Written(file, true);
        }
    }
    // Before a file is written that the record does not list (the uninstaller): a deletion of
    // it that an earlier removal left for the next restart is taken back, and logged. Expect
    // does the same.
    void WillWrite(const std::wstring& path);
    // The same for every file of a source tree copied into target (no trailing delimiters);
    // the targets given in `skipped` were not copied.
    void ExpectTree(const std::wstring& source, const std::wstring& target);
    void WrittenTree(const std::wstring& source, const std::wstring& target,
                     const std::set<std::wstring>& skipped = {});
    // The same for a tree that CopyFolderTreeReporting copied, from what it reports: the
    // record need not walk the source again. Its target folder is expected beforehand.
    void CopiedTree(const TTreeCopy& copy);

    void Shortcut(const std::wstring& path);
    // The distribution folder the run copies from (ending in "\"), for a later repair.
    void Source(const std::wstring& folder);
    void Font(const std::wstring& path, const std::wstring& value);

    // One line per item from now on. False when the record could not be rewritten; the
    // appended one stays and reads the same.
    bool Compact();
    // No more lines: the file is let go (a rollback puts the earlier record back).
    void Close() { FFile.reset(); }
    // What the record holds now.
    const TRecordSet& Entries() const { return FEntries; }
    // Bytes of the recorded files, as recorded.
    std::uint64_t InstalledBytes() const;

private:
    std::wstring Relative(const std::wstring& path) const; // empty when outside the target
    void Record(const std::wstring& relative, std::uint64_t size, std::uint64_t time, bool readOnly,
                bool inPlace);
    void Append(TRecordEntry entry); // to the lines that Flush writes
    void Flush();
    void RecordMadeFolders();
    template <class F>
    void ForEachTreeFolder(const std::wstring& source, const std::wstring& target, const F& visit);

    std::wstring FTarget;
    TUniqueFile FFile;
    std::string FPending; // lines not yet written
    TRecordSet FEntries;
    std::map<std::wstring, bool, TPathLess>
        FExisted; // relative path of an expected file -> was there
    std::set<std::wstring, TPathLess>
        FMissingFolders;        // relative paths the expected writes will make
    TPendingDeletions FRestart; // deletions at restart below the target, read at Begin
};
