#pragma once
#include <string>

// Before a reinstall copies the distribution's empty database over the clinic's own, the
// existing file is renamed in place to "<name>.YYYYMMDD-HHMMSS.bak".
struct TDatabaseKeep {
    enum TOutcome { dkNothing, dkRenamed, dkSameFile, dkFailed };
    TOutcome Outcome;
    std::wstring BackupName; // the new file name (without folder) when renamed
    unsigned long Error = 0; // the system's error code when the rename failed
};

TDatabaseKeep KeepExistingDatabase(const std::wstring& targetFile, const std::wstring& sourceFile);

// Whether two paths name the same file (same volume and file index), whatever their spelling.
bool IsSameFile(const std::wstring& a, const std::wstring& b);

// Puts a renamed database back under its own name when the new copy did not arrive: whatever
// the failed copy left there goes first. True when the old file is in place again.
bool RestoreDatabase(const std::wstring& targetFile, const TDatabaseKeep& kept);
