#pragma once
#include <windows.h>

#include <array>
#include <string>
#include <vector>

// SHA-256 through the system's CNG (bcrypt.dll, loaded from the system folder when first
// needed). Every function may be called from several threads at once.
using TSha256 = std::array<unsigned char, 32>;

// The digest of bytes in memory; false when CNG cannot be had.
bool Sha256(const void* data, size_t size, TSha256& digest);

struct TFileDigest {
    bool Read = false; // false: Error says why (the file, or CNG itself)
    DWORD Error = 0;
    TSha256 Digest{};
};
// The digest of a file, hashed as it is read in pieces of buffer's size (a caller that hashes
// many files keeps one buffer per thread).
TFileDigest FileSha256(const std::wstring& path, std::vector<unsigned char>& buffer);
// The same for a file open for reading, from where its file pointer stands.
TFileDigest FileSha256(HANDLE file, std::vector<unsigned char>& buffer);

// A file opened for reading in sequence, as the functions above read it.
HANDLE OpenForHashing(const std::wstring& path);

// Lower-case hexadecimal, as sha256sum prints it.
std::wstring HexDigest(const TSha256& digest);
