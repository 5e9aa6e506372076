#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// An installed file compared with the distribution's: first their sizes, then, when they are
// equal, their bytes; a file that differs in bytes alone gets both SHA-256 digests for the log.
struct TContentPair {
    std::wstring Installed;
    std::wstring Original; // the distribution's
};

struct TContentVerdict {
    enum TOutcome {
        cvSame,
        cvDifferent,
        cvInstalledMissing,
        cvInstalledUnread,
        cvOriginalMissing,
        cvOriginalUnread
    };
    TOutcome Outcome = cvSame;
    DWORD Error = 0;       // the system's reason a file could not be opened or read
    bool ReadOnly = false; // the installed file has the read-only attribute
    std::wstring Digests;  // of a file of the distribution's size that differs: both digests
};

// Compares every pair, on as many threads as the processors (each file is opened once, its size
// and attributes taken from the open file, and read in large pieces beside its counterpart). The
// calling thread calls `idle` whenever its message queue has something new, so that a window stays
// painted. One verdict per pair, in their order.
std::vector<TContentVerdict> CompareContents(const std::vector<TContentPair>& pairs,
                                             const std::function<void()>& idle);

// One pair on the calling thread.
TContentVerdict CompareContent(const TContentPair& pair);
