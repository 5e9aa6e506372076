#include "primitives/CopyCrew.h"

#include "common/Handles.h"

#include <system_error>
#include <vector>

namespace {

// The attributes CreateFileW gives a new file; read-only left out, as a read-only copy would
// refuse the next version (CopyFileW carries it over from media such as a CD).
DWORD CreationAttributes(DWORD source) {
    const DWORD kept = source & (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                 FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    return kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL;
}

bool CopyBytes(HANDLE from, HANDLE to, std::span<char> buffer) noexcept {
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(from, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) {
            return false;
        }
        if (read == 0) {
            return true;
        }
        DWORD written = 0;
        if (!WriteFile(to, buffer.data(), read, &written, nullptr)) {
            return false;
        }
    }
}

// Under Wine every question about a file is a trip to the Wine server; the folder listings
// have answered them all already, which CopyFileW would ask again.
DWORD CopyListed(const TCopyJob& job, std::span<char> buffer) noexcept {
    const TUniqueFile source(CreateFileW(job.Source.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!source) {
        return GetLastError();
    }
    TUniqueFile target(CreateFileW(job.Target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   CreationAttributes(job.SourceAttributes), nullptr));
    if (!target) {
        return GetLastError();
    }
    if (CopyBytes(source.get(), target.get(), buffer) &&
        SetFileTime(target.get(), nullptr, nullptr, &job.SourceWriteTime)) {
        return 0;
    }
    const DWORD error = GetLastError();
    target.reset();
    DeleteFileW(job.Target.c_str()); // a half-written file must not look copied
    return error;
}

} // namespace

void CopyWritable(TCopyJob& job, std::span<char> buffer) noexcept {
    if (job.TargetAttributes != INVALID_FILE_ATTRIBUTES &&
        (job.TargetAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
        // A refusal shows in the copy's own error.
        SetFileAttributesW(job.Target.c_str(),
                           job.TargetAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    }
    job.Error = CopyListed(job, buffer);
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
        std::vector<char> buffer(CopyChunk);
        while (TCopyJob* job = Take()) {
            CopyWritable(*job, buffer);
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
