#include "primitives/FilePrimitives.h"

#include "common/DirEnum.h"
#include "common/Errors.h"
#include "common/Failure.h"
#include "common/Handles.h"
#include "common/Paths.h"
#include "primitives/ReadAhead.h"
#include "primitives/TreeCopy.h"

#include <algorithm>
#include <memory>

namespace {
// No FILE_FLAG_SEQUENTIAL_SCAN: on Wine it halves the speed of large reads.
constexpr DWORD CopyBufferSize = StreamCopyBufferSize;

bool CopyChunks(HANDLE source, HANDLE target, DWORD chunkSize) noexcept {
    const std::unique_ptr<char[]> buffer(new (std::nothrow) char[chunkSize]);
    if (!buffer) {
        return false;
    }
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(source, buffer.get(), chunkSize, &read, nullptr)) {
            return false;
        }
        if (read == 0) {
            return true;
        }
        DWORD written = 0;
        if (!WriteFile(target, buffer.get(), read, &written, nullptr) || written != read) {
            return false;
        }
    }
}

bool WriteChunks(TReadAhead& reader, HANDLE target) noexcept {
    for (;;) {
        const char* bytes = nullptr;
        DWORD size = 0;
        if (!reader.Next(bytes, size)) {
            return false;
        }
        if (size == 0) {
            return true;
        }
        DWORD written = 0;
        if (!WriteFile(target, bytes, size, &written, nullptr) || written != size) {
            return false;
        }
    }
}

// A file of more than one chunk is read ahead on a second thread while this one writes.
// Overlapped I/O would not overlap under Wine: a read from a disk file ends before ReadFile
// returns.
bool CopyContents(HANDLE source, HANDLE target) noexcept {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(source, &size)) {
        return false;
    }
    const DWORD chunkSize =
        static_cast<DWORD>(std::clamp<LONGLONG>(size.QuadPart, 1, CopyBufferSize));
    if (size.QuadPart > chunkSize) {
        TReadAhead reader(source, chunkSize);
        if (reader.Start()) {
            return WriteChunks(reader, target);
        }
    }
    return CopyChunks(source, target, chunkSize);
}

// The suite's files carry DOS time stamps: the time goes through a local DOS date-time.
void CopyLastWriteTime(HANDLE source, HANDLE target) {
    FILETIME utc, local;
    WORD dosDate = 0, dosTime = 0;
    if (GetFileTime(source, nullptr, nullptr, &utc) && FileTimeToLocalFileTime(&utc, &local) &&
        FileTimeToDosDateTime(&local, &dosDate, &dosTime) &&
        DosDateTimeToFileTime(dosDate, dosTime, &local) && LocalFileTimeToFileTime(&local, &utc)) {
        SetFileTime(target, nullptr, nullptr, &utc);
    }
}
} // namespace

TStreamCopy CopyFileByStream(const std::wstring& source, const std::wstring& target) {
    TUniqueFile in(
        CreateFileW(source.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!in) {
        return {TStreamCopy::scSourceNotOpened, GetLastError()};
    }
    TUniqueFile out(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) {
        return {TStreamCopy::scTargetNotCreated, GetLastError()};
    }
    if (!CopyContents(in.get(), out.get())) {
        const DWORD error = GetLastError();
        out.reset();
        DeleteFileW(target.c_str());
        return {TStreamCopy::scTransferFailed, error};
    }
    CopyLastWriteTime(in.get(), out.get());
    return {};
}

std::wstring RefusedCopyText(const TStreamCopy& copy, const std::wstring& source,
                             const std::wstring& target) {
    const bool opening = copy.Outcome == TStreamCopy::scSourceNotOpened;
    return std::wstring(opening ? L"Не удается открыть файл" : L"Не удается создать файл") +
           L" \"" + (opening ? source : target) + L"\". " + SysErrorMessage(copy.Error);
}

bool CheckStreamCopy(const TStreamCopy& copy, const std::wstring& source,
                     const std::wstring& target, std::source_location where) {
    if (copy.Copied()) {
        return true;
    }
    const TFailure failure = Failure(L"Копирование файла " + source, target, copy.Error, where);
    if (copy.Refused()) {
        RaiseFailure(failure, RefusedCopyText(copy, source, target));
    }
    return LogFailure(failure);
}

TCopyFailures CopyFolderTree(const std::wstring& source, const std::wstring& target) {
    return CopyFolderTreeReporting(source, target).Failures;
}

void ListSubfolders(const std::wstring& folder, std::vector<std::wstring>& list) {
    for (const TDirEntry& entry : ListDirEntries(folder + L"*", faDirectory)) {
        if (entry.IsDirectory() && !IsDotEntry(entry.Name) && entry.Name != L"WithOutAnswer") {
            list.push_back(folder + entry.Name);
        }
    }
}

void SetReadOnlyAttribute(const std::wstring& fileName, bool readOnly) {
    const DWORD attributes = GetFileAttributesW(fileName.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    const DWORD changed = readOnly ? attributes | FILE_ATTRIBUTE_READONLY
                                   : attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(fileName.c_str(), changed);
}

void SetFolderWriteTime(const std::wstring& folder, const FILETIME& time) {
    const TUniqueFile handle(CreateFileW(folder.c_str(), FILE_WRITE_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                         nullptr));
    if (handle) {
        SetFileTime(handle.get(), nullptr, nullptr, &time);
    }
}
