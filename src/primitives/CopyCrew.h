#pragma once
#include <windows.h>

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

// One file of a tree copy, with what the folder listings told of it; whoever copies it fills
// in how it ended.
struct TCopyJob {
    std::wstring Source;
    std::wstring Target;
    DWORD TargetAttributes; // of what the target folder held by that name; INVALID_FILE_ATTRIBUTES
                            // when nothing
    DWORD SourceAttributes;
    FILETIME SourceWriteTime;
    DWORD Error = 0; // 0 when copied, else the system's reason
};

// What a copy reads and writes at a time: a small file in one piece.
inline constexpr size_t CopyChunk = 64 * 1024;

// Copies as CopyFileW does, overwriting: the copy gets the source's attributes and last-write
// time. No copy is left read-only, and a read-only file in the way is overwritten. A copy that
// fails once the target is open leaves no part of the file behind. `buffer` is the caller's.
void CopyWritable(TCopyJob& job, std::span<char> buffer) noexcept;

// Copies jobs in the order added: threads - 1 threads of its own start at once, and the
// caller's joins them in Finish. No exception leaves a thread: the first one is raised again
// by Finish. Leaving the scope without Finish stops the copies that have not begun.
class TCopyCrew {
public:
    explicit TCopyCrew(unsigned threads);
    TCopyCrew(const TCopyCrew&) = delete;
    TCopyCrew& operator=(const TCopyCrew&) = delete;
    ~TCopyCrew();

    void Add(std::vector<TCopyJob> jobs);
    // Copies what is left, waits for every copy, and hands the jobs back, in the order added.
    std::deque<TCopyJob> Finish();

private:
    void Work() noexcept;
    TCopyJob* Take();
    void Close(bool stop);

    std::mutex FLock;
    std::condition_variable FAdded;
    std::deque<TCopyJob> FJobs; // references stay valid as it grows
    size_t FNext = 0;           // the first job nobody has taken
    bool FClosed = false;       // no more jobs will come
    bool FStopped = false;      // no more jobs are taken
    std::exception_ptr FError;
    std::vector<std::thread> FThreads;
};
