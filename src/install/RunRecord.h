#pragma once
#include "common/Handles.h"
#include "install/InstallRecord.h"

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
    std::wstring Begin(const std::wstring& target);
    // Goes on with a record just read from target (by a check): appends to it as it stands,
    // without reading or rewriting it first.
    void Continue(const std::wstring& target, TRecordSet entries);

    // Before a file below the target is written: notes whether it is there, and which of its
    // folders the write will make.
    void Expect(const std::wstring& path);
    // Before a folder below the target is made: notes it, and its parents, if they are not
    // there yet.
    void ExpectFolder(const std::wstring& path);
    // After: the file as it is now; a file that is not there is not recorded.
    void Written(const std::wstring& path);
    // A write of these files, with the record told before and after.
    template <class F> void Write(std::initializer_list<std::wstring> files, const F& write) {
        for (const std::wstring& file : files) {
            Expect(file);
        }
        write();
        for (const std::wstring& file : files) {
            Written(file);
        }
    }
    // The same for every file of a source tree copied into target (no trailing delimiters);
    // the targets given in `skipped` were not copied.
    void ExpectTree(const std::wstring& source, const std::wstring& target);
    void WrittenTree(const std::wstring& source, const std::wstring& target,
                     const std::set<std::wstring>& skipped = {});

    void Shortcut(const std::wstring& path);
    // The distribution folder the run copies from (ending in "\"), for a later repair.
    void Source(const std::wstring& folder);
    void Font(const std::wstring& path, const std::wstring& value);

    // One line per item from now on. False when the record could not be rewritten; the
    // appended one stays and reads the same.
    bool Compact();
    // What the record holds now.
    const TRecordSet& Entries() const { return FEntries; }
    // Bytes of the recorded files, as recorded.
    std::uint64_t InstalledBytes() const;

private:
    std::wstring Relative(const std::wstring& path) const; // empty when outside the target
    void Record(const std::wstring& relative, std::uint64_t size, std::uint64_t time,
                bool readOnly);
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
        FMissingFolders; // relative paths the expected writes will make
};
