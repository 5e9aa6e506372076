#pragma once
#include <string>

// Creates Settings\lastnum.dta when the folder exists and the file does not: one 14-byte
// record (16-bit 0, 32-bit 0, the local date-time as days since 30 December 1899).
// Input/output failures are passed over.
void CreateCounterFile(const std::wstring& settingsFolder);
