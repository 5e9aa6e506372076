#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// An installed file compared with the distribution's: first their sizes, then, when they are
// equal, their SHA-256 digests.
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
};

// Compares every pair, on as many threads as the processors (they hash while they read, so
// that the disk and the cores work at once; each file is opened once, its size and attributes
// taken from the open file). The calling thread calls `idle` whenever its
// message queue has something new, so that a window stays painted. One verdict per pair, in
// their order.
std::vector<TContentVerdict> CompareContents(const std::vector<TContentPair>& pairs,
                                             const std::function<void()>& idle);

// One pair on the calling thread.
TContentVerdict CompareContent(const TContentPair& pair);
