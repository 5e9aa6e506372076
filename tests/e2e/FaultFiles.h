#pragma once
#include <windows.h>

#include <string>

#include "Files.h"
#include "common/Handles.h"

namespace e2e {

// Whole files as bytes, for byte-for-byte comparisons; Read gives "" for a missing file.
std::string ReadBytes(const std::wstring& path);
void WriteUtf8(const std::wstring& path, const std::wstring& text);
void DeleteTree(const std::wstring& folder);

// The Linux path behind a Wine path (Wine's own mapping, so it works for every drive).
std::string UnixPath(const std::wstring& path);

// Makes a file or folder immutable on the Linux side (chattr +i): neither written, renamed nor
// deleted, not even by root, which ignores plain write bits. Undone when the guard goes.
class TImmutable {
public:
    explicit TImmutable(std::wstring path);
    TImmutable(const TImmutable&) = delete;
    TImmutable& operator=(const TImmutable&) = delete;
    ~TImmutable();

private:
    std::wstring FPath;
};

// Puts a Linux symbolic link at link (a Windows path whose folder exists) to target: what a
// junction or a symbolic link is on Windows, Wine shows it so. Through the suite's wrapper.
void MakeLinuxLink(const std::wstring& link, const std::wstring& target);

// A file held open by this process without any sharing, as a running server holds its files.
TUniqueFile HoldExclusive(const std::wstring& path);

// The drive letter of the small file system, from the wrapper (scripts/fault-suite).
std::wstring SmallDrive();

// Fills the drive of folder with a filler file until only about `room` bytes are left.
// The filler is removed when the guard goes.
class TDiskFiller {
public:
    TDiskFiller(const std::wstring& folder, ULONGLONG room);
    TDiskFiller(const TDiskFiller&) = delete;
    TDiskFiller& operator=(const TDiskFiller&) = delete;
    ~TDiskFiller();

private:
    std::wstring FPath;
};

} // namespace e2e
