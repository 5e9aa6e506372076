#pragma once
#include <string>

// 32 hexadecimal digits from the system's random source: a file or folder name that nobody
// can guess, and so nobody can make beforehand. Empty when the system gives no random bytes.
std::wstring RandomName();
