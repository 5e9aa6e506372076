#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <thread>

// Reads a file from its current position on a thread of its own, a few chunks ahead of the
// one who takes them, so that reading and writing overlap.
class TReadAhead {
public:
    TReadAhead(HANDLE file, DWORD chunkSize) noexcept : FFile(file), FChunkSize(chunkSize) {}
    TReadAhead(const TReadAhead&) = delete;
    TReadAhead& operator=(const TReadAhead&) = delete;
    // Stops reading and waits for the thread; the caller's last error stays as it was.
    ~TReadAhead();

    // False when no memory or no thread could be had: then nothing was read.
    bool Start() noexcept;
    // The next chunk in the file's order, valid until the next call; its size is 0 at the
    // end. False when the read failed, with its reason as the last error.
    bool Next(const char*& bytes, DWORD& size) noexcept;

private:
    static constexpr unsigned Chunks = 8;
    struct TChunk {
        std::unique_ptr<char[]> Bytes;
        DWORD Size = 0;
        DWORD Error = 0;
        bool Failed = false;
    };

    void Read() noexcept;
    void Stop() noexcept;

    HANDLE FFile;
    DWORD FChunkSize;
    TChunk FChunks[Chunks];
    SRWLOCK FLock = SRWLOCK_INIT;
    CONDITION_VARIABLE FChanged = CONDITION_VARIABLE_INIT;
    std::uint64_t FRead = 0;  // chunks the thread has filled
    std::uint64_t FTaken = 0; // chunks handed out; the last one is in use until the next call
    bool FStopped = false;
    bool FReaderWaits = false;
    bool FWriterWaits = false;
    std::thread FThread;
};
