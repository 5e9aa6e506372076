#include "install/ContentCompare.h"

#include "common/Handles.h"
#include "primitives/Sha256.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

constexpr size_t ReadSize = 1 << 20; // large reads: few calls per file

TContentVerdict Compare(const TContentPair& pair, std::vector<unsigned char>& buffer) {
    const TFileDigest installed = FileSha256(pair.Installed, buffer);
    if (!installed.Read) {
        return {TContentVerdict::cvInstalledUnread, installed.Error};
    }
    const TFileDigest original = FileSha256(pair.Original, buffer);
    if (!original.Read) {
        return {TContentVerdict::cvOriginalUnread, original.Error};
    }
    return {installed.Digest == original.Digest ? TContentVerdict::cvSame
                                                : TContentVerdict::cvDifferent,
            0};
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
                FVerdicts[i] = {TContentVerdict::cvInstalledUnread, ERROR_NOT_ENOUGH_MEMORY};
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
