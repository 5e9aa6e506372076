#pragma once
#include <windows.h>

#include <cstddef>

// The bytes of a raw-data resource (RT_RCDATA) of the program's own module; they live as long
// as the module.
struct TRcData {
    const BYTE* Data = nullptr;
    DWORD Size = 0;
};

// Raises EError with the system's description when the resource is missing.
TRcData FindRcData(const wchar_t* name);
