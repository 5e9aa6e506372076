#pragma once
// Small helpers to lay real files into a test's folder and to look at them afterwards.
#include <windows.h>

#include <string>

void WriteBytes(const std::wstring& path, const std::string& bytes);
// The whole file, or "<missing>" when it cannot be opened.
std::string ReadBytes(const std::wstring& path);

FILETIME LastWriteTime(const std::wstring& path);
void SetLastWriteTime(const std::wstring& path, const FILETIME& time);
// One number for a file time, which gtest can compare and print.
inline long long Ticks(const FILETIME& time) {
    return static_cast<long long>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}
