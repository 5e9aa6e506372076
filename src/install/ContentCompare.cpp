#include "install/ContentCompare.h"

#include "common/Handles.h"
#include "primitives/Sha256.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <thread>

namespace {

constexpr size_t ReadSize = 1 << 20; // large reads: few calls per file

using enum TContentVerdict::TOutcome;

bool NotThere(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Opened, with its size; false with the reason when it cannot be. (The size and the attributes
// are asked for alone: on Wine, GetFileInformationByHandle also looks up the file's name.)
bool Open(const std::wstring& path, TUniqueFile& file, LARGE_INTEGER& size, DWORD& error) {
    file.reset(OpenForHashing(path));
    if (!file || !GetFileSizeEx(file.get(), &size)) {
        error = GetLastError();
        return false;
    }
    return true;
}

// One piece of each side, the installed file and the distribution's, compared as they are read.
struct TBuffers {
    std::vector<unsigned char> Installed = std::vector<unsigned char>(ReadSize);
    std::vector<unsigned char> Original = std::vector<unsigned char>(ReadSize);
};

// Reads one piece: less than asked only at the file's end.
bool ReadPiece(HANDLE file, std::vector<unsigned char>& buffer, DWORD& read) {
    read = 0;
    return ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) != 0;
}

TContentVerdict Unread(TContentVerdict::TOutcome outcome, DWORD error) {
    TContentVerdict verdict;
    verdict.Outcome = outcome;
    verdict.Error = error;
    return verdict;
}

// Both from their start, in step, until they part or end. The bytes themselves are compared:
// exact, and no core spends time hashing what turns out the same.
TContentVerdict CompareBytes(HANDLE installed, HANDLE original, TBuffers& buffers) {
    TContentVerdict verdict;
    for (;;) {
        DWORD mine = 0, theirs = 0;
        if (!ReadPiece(installed, buffers.Installed, mine)) {
            return Unread(cvInstalledUnread, GetLastError());
        }
        if (!ReadPiece(original, buffers.Original, theirs)) {
            return Unread(cvOriginalUnread, GetLastError());
        }
        if (mine != theirs ||
            std::memcmp(buffers.Installed.data(), buffers.Original.data(), mine) != 0) {
            verdict.Outcome = cvDifferent;
            return verdict;
        }
        if (mine < ReadSize) {
            return verdict;
        }
    }
}

// A file that differs gets both SHA-256 digests, through CNG, for the log: what support can
// match against a known build.
void AddDigests(HANDLE installed, HANDLE original, TBuffers& buffers, TContentVerdict& verdict) {
    const LARGE_INTEGER start{};
    if (!SetFilePointerEx(installed, start, nullptr, FILE_BEGIN) ||
        !SetFilePointerEx(original, start, nullptr, FILE_BEGIN)) {
        return;
    }
    const TFileDigest mine = FileSha256(installed, buffers.Installed);
    const TFileDigest theirs = FileSha256(original, buffers.Original);
    if (mine.Read && theirs.Read) {
        verdict.Digests = L"SHA-256 установленного " + HexDigest(mine.Digest) + L", дистрибутива " +
                          HexDigest(theirs.Digest);
    }
}

TContentVerdict Compare(const TContentPair& pair, TBuffers& buffers) {
    TContentVerdict verdict;
    TUniqueFile installed, original;
    LARGE_INTEGER mine{}, theirs{};
    if (!Open(pair.Installed, installed, mine, verdict.Error)) {
        verdict.Outcome = NotThere(verdict.Error) ? cvInstalledMissing : cvInstalledUnread;
        return verdict;
    }
    FILE_BASIC_INFO basic{};
    verdict.ReadOnly =
        GetFileInformationByHandleEx(installed.get(), FileBasicInfo, &basic, sizeof basic) &&
        (basic.FileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (!Open(pair.Original, original, theirs, verdict.Error)) {
        verdict.Outcome = NotThere(verdict.Error) ? cvOriginalMissing : cvOriginalUnread;
        return verdict;
    }
    if (mine.QuadPart != theirs.QuadPart) {
        verdict.Outcome = cvDifferent;
        return verdict;
    }
    const bool readOnly = verdict.ReadOnly;
    verdict = CompareBytes(installed.get(), original.get(), buffers);
    verdict.ReadOnly = readOnly;
    if (verdict.Outcome == cvDifferent) {
        AddDigests(installed.get(), original.get(), buffers, verdict);
    }
    return verdict;
}

unsigned WorkerCount(size_t pairs) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    return static_cast<unsigned>(std::min<size_t>({cores, 8, pairs}));
}

// The pairs taken one at a time by whichever worker is free; the last worker to finish
// signals the calling thread.
class TWorkers {
public:
    TWorkers(const std::vector<TContentPair>& pairs, std::vector<TContentVerdict>& verdicts,
             unsigned count)
        : FPairs(pairs), FVerdicts(verdicts), FRunning(count),
          FDone(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

    HANDLE Done() const { return FDone.get(); }

    // No exception may leave a thread: a pair that fails for want of memory reads as unread.
    void Work() noexcept {
        std::unique_ptr<TBuffers> buffers; // this thread's
        for (size_t i; (i = FNext++) < FPairs.size();) {
            try {
                if (!buffers) {
                    buffers = std::make_unique<TBuffers>();
                }
                FVerdicts[i] = Compare(FPairs[i], *buffers);
            } catch (...) {
                FVerdicts[i] = Unread(cvInstalledUnread, ERROR_NOT_ENOUGH_MEMORY);
            }
        }
        if (--FRunning == 0 && FDone) {
            SetEvent(FDone.get());
        }
    }

private:
    const std::vector<TContentPair>& FPairs;
    std::vector<TContentVerdict>& FVerdicts;
    std::atomic<size_t> FNext{0};
    std::atomic<unsigned> FRunning;
    TUniqueHandle FDone;
};

} // namespace

std::vector<TContentVerdict> CompareContents(const std::vector<TContentPair>& pairs,
                                             const std::function<void()>& idle) {
    std::vector<TContentVerdict> verdicts(pairs.size());
    const unsigned count = WorkerCount(pairs.size());
    if (count == 0) {
        return verdicts;
    }
    TWorkers workers(pairs, verdicts, count);
    std::vector<std::jthread> threads;
    for (unsigned i = 0; i < count; ++i) {
        threads.emplace_back([&workers] { workers.Work(); });
    }
    if (idle && workers.Done() != nullptr) {
        const HANDLE done = workers.Done();
        while (MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_ALLINPUT) ==
               WAIT_OBJECT_0 + 1) {
            idle();
        }
    }
    threads.clear(); // joins
    return verdicts;
}

TContentVerdict CompareContent(const TContentPair& pair) {
    TBuffers buffers;
    return Compare(pair, buffers);
}
