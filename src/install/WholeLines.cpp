#include "install/WholeLines.h"

DWORD AppendWholeLines(HANDLE file, const std::string& bytes) {
    LARGE_INTEGER end{};
    if (!GetFileSizeEx(file, &end) || !SetFilePointerEx(file, end, nullptr, FILE_BEGIN)) {
        return GetLastError();
    }
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    if (ok && written == bytes.size()) {
        return 0;
    }
    // A write that falls short without an error met a disk without room.
    const DWORD error = ok || GetLastError() == 0 ? ERROR_DISK_FULL : GetLastError();
    SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    return error;
}
