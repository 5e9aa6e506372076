#include "install/ContentCompare.h"

#include "common/Handles.h"
#include "primitives/Sha256.h"

#include <algorithm>
#include <atomic>
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

TContentVerdict Compare(const TContentPair& pair, std::vector<unsigned char>& buffer) {
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
    const TFileDigest a = FileSha256(installed.get(), buffer);
    const TFileDigest b = a.Read ? FileSha256(original.get(), buffer) : TFileDigest{};
    verdict.Error = a.Read ? b.Error : a.Error;
    verdict.Outcome = !a.Read                ? cvInstalledUnread
                      : !b.Read              ? cvOriginalUnread
                      : a.Digest == b.Digest ? cvSame
                                             : cvDifferent;
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
        std::vector<unsigned char> buffer;
        for (size_t i; (i = FNext++) < FPairs.size();) {
            try {
                buffer.resize(ReadSize);
                FVerdicts[i] = Compare(FPairs[i], buffer);
            } catch (...) {
                FVerdicts[i] = {cvInstalledUnread, ERROR_NOT_ENOUGH_MEMORY, false};
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
    std::vector<unsigned char> buffer(ReadSize);
    return Compare(pair, buffer);
}
