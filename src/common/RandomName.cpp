#include "common/RandomName.h"

#include <windows.h>
#include <ntsecapi.h>

#include <cstdio>

std::wstring RandomName() {
    unsigned char bytes[16];
    if (!RtlGenRandom(bytes, sizeof bytes)) {
        return {};
    }
    std::wstring name;
    for (unsigned char byte : bytes) {
        wchar_t digits[3];
        swprintf(digits, 3, L"%02x", byte);
        name += digits;
    }
    return name;
}
