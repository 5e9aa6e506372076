#include "install/CounterFile.h"

#include "common/Paths.h"
#include "common/Handles.h"

#include <windows.h>
#include <oleauto.h>

#include <cstring>

void CreateCounterFile(const std::wstring& settingsFolder) {
    const std::wstring path = settingsFolder + L"lastnum.dta";
    if (!DirectoryExists(settingsFolder) || FileExists(path)) {
        return;
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    double days = 0;
    SystemTimeToVariantTime(&now, &days);

    unsigned char record[14] = {}; // bytes 0-1 and 2-5 stay zero
    std::memcpy(record + 6, &days, sizeof days);

    TUniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
        DWORD written = 0;
        WriteFile(file.get(), record, sizeof record, &written, nullptr);
    }
}
