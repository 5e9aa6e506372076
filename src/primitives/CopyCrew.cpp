#include "primitives/CopyCrew.h"

#include <system_error>

namespace {

// True when the file is missing or no longer read-only.
bool ClearReadOnly(const std::wstring& fileName) noexcept {
    const DWORD attributes = GetFileAttributesW(fileName.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0 ||
           SetFileAttributesW(fileName.c_str(),
                              attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
}

} // namespace

// CopyFileW carries the read-only attribute over from media such as a CD; a read-only copy
// would refuse the next version. The folder listings already tell which files are read-only,
// so only those are asked again.
void CopyWritable(TCopyJob& job) noexcept {
    if (job.TargetAttributes != INVALID_FILE_ATTRIBUTES &&
        (job.TargetAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
        // A refusal shows in the copy's own error.
        SetFileAttributesW(job.Target.c_str(),
                           job.TargetAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    }
    if (!CopyFileW(job.Source.c_str(), job.Target.c_str(), FALSE)) {
        job.Error = GetLastError();
        // A full disk can leave part of the file behind; a half-written file must not look
        // copied.
        if (job.Error == ERROR_DISK_FULL || job.Error == ERROR_HANDLE_DISK_FULL) {
            DeleteFileW(job.Target.c_str());
        }
    } else if (job.SourceReadOnly && !ClearReadOnly(job.Target)) {
        job.Error = GetLastError();
    }
}

TCopyCrew::TCopyCrew(unsigned threads) {
    for (unsigned i = 1; i < threads; ++i) {
        try {
            FThreads.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            break; // fewer hands copy the same files
        }
    }
}

TCopyCrew::~TCopyCrew() {
    Close(true);
    for (std::thread& thread : FThreads) {
        thread.join();
    }
}

void TCopyCrew::Add(std::vector<TCopyJob> jobs) {
    {
        const std::lock_guard lock(FLock);
        for (TCopyJob& job : jobs) {
            FJobs.push_back(std::move(job));
        }
    }
    FAdded.notify_all();
}

std::deque<TCopyJob> TCopyCrew::Finish() {
    Close(false);
    Work();
    for (std::thread& thread : FThreads) {
        thread.join();
    }
    FThreads.clear();
    if (FError) {
        std::rethrow_exception(FError);
    }
    return std::move(FJobs);
}

void TCopyCrew::Close(bool stop) {
    {
        const std::lock_guard lock(FLock);
        FClosed = true;
        FStopped = FStopped || stop;
    }
    FAdded.notify_all();
}

// The next job, or nullptr when there will be none.
TCopyJob* TCopyCrew::Take() {
    std::unique_lock lock(FLock);
    FAdded.wait(lock, [this] { return FStopped || FNext < FJobs.size() || FClosed; });
    if (FStopped || FNext == FJobs.size()) {
        return nullptr;
    }
    return &FJobs[FNext++];
}

void TCopyCrew::Work() noexcept {
    try {
        while (TCopyJob* job = Take()) {
            CopyWritable(*job);
        }
    } catch (...) {
        {
            const std::lock_guard lock(FLock);
            if (!FError) {
                FError = std::current_exception();
            }
        }
        Close(true);
    }
}
