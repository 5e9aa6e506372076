#include "primitives/ReadAhead.h"

#include <new>
#include <system_error>

namespace {

// The lock held for one scope.
class TLockScope {
public:
    explicit TLockScope(SRWLOCK& lock) noexcept : FLock(lock) { AcquireSRWLockExclusive(&FLock); }
    TLockScope(const TLockScope&) = delete;
    TLockScope& operator=(const TLockScope&) = delete;
    ~TLockScope() { ReleaseSRWLockExclusive(&FLock); }

private:
    SRWLOCK& FLock;
};

} // namespace

// The Windows lock and condition variable, not std::mutex: under Wine they wait without a
// trip to the Wine server, and a 1 GiB file is 16,384 hand-overs.
TReadAhead::~TReadAhead() {
    const DWORD error = GetLastError();
    Stop();
    if (FThread.joinable()) {
        FThread.join();
    }
    SetLastError(error);
}

bool TReadAhead::Start() noexcept {
    for (TChunk& chunk : FChunks) {
        chunk.Bytes.reset(new (std::nothrow) char[FChunkSize]);
        if (!chunk.Bytes) {
            return false;
        }
    }
    try {
        FThread = std::thread([this] { Read(); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

bool TReadAhead::Next(const char*& bytes, DWORD& size) noexcept {
    const TChunk* chunk = nullptr;
    {
        TLockScope scope(FLock);
        while (FRead <= FTaken) {
            FWriterWaits = true;
            SleepConditionVariableSRW(&FChanged, &FLock, INFINITE, 0);
            FWriterWaits = false;
        }
        chunk = &FChunks[FTaken++ % Chunks];
        // Taking a chunk gives the one before back. A reader that waits for room is woken
        // only once half the ring is free: a wake per chunk costs more than it overlaps.
        if (FReaderWaits && FTaken + Chunks - 1 - FRead >= Chunks / 2) {
            WakeAllConditionVariable(&FChanged);
        }
    }
    if (chunk->Failed) {
        SetLastError(chunk->Error);
        return false;
    }
    bytes = chunk->Bytes.get();
    size = chunk->Size;
    return true;
}

void TReadAhead::Read() noexcept {
    for (std::uint64_t n = 0;; ++n) {
        {
            TLockScope scope(FLock);
            // Its buffer last held the chunk Chunks before it, in use until the one after that
            // is taken.
            while (!FStopped && n >= FTaken + Chunks - 1) {
                FReaderWaits = true;
                SleepConditionVariableSRW(&FChanged, &FLock, INFINITE, 0);
                FReaderWaits = false;
            }
            if (FStopped) {
                return;
            }
        }
        TChunk& chunk = FChunks[n % Chunks];
        chunk.Failed = !ReadFile(FFile, chunk.Bytes.get(), FChunkSize, &chunk.Size, nullptr);
        chunk.Error = chunk.Failed ? GetLastError() : 0;
        {
            TLockScope scope(FLock);
            FRead = n + 1;
            if (FWriterWaits) {
                WakeAllConditionVariable(&FChanged);
            }
        }
        if (chunk.Failed || chunk.Size == 0) {
            return;
        }
    }
}

void TReadAhead::Stop() noexcept {
    TLockScope scope(FLock);
    FStopped = true;
    WakeAllConditionVariable(&FChanged);
}
