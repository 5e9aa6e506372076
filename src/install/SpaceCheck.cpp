#include "install/SpaceCheck.h"

#include "common/Paths.h"
#include "common/WindowsFolder.h"

#include <cstdio>

namespace {

// The folder itself or its nearest existing parent: free space is read from a folder that is.
std::wstring ExistingFolder(std::wstring folder) {
    while (!DirectoryExists(folder)) {
        const std::wstring parent =
            IncludeTrailingPathDelimiter(ExtractFileDir(ExcludeTrailingPathDelimiter(folder)));
        // A drive root that does not exist is its own parent.
        if (parent == folder || parent == L"\\") {
            return {};
        }
        folder = parent;
    }
    return folder;
}

std::wstring Megabytes(ULONGLONG bytes, bool roundUp) {
    // Tenths of a mebibyte; what is needed rounds up, what is free rounds down.
    const ULONGLONG mebibyte = 1024 * 1024;
    const ULONGLONG count = (bytes * 10 + (roundUp ? mebibyte - 1 : 0)) / mebibyte;
    wchar_t text[40];
    swprintf(text, 40, L"%llu.%llu", count / 10, count % 10);
    return text;
}

} // namespace

std::wstring FreeSpaceShortage(const std::wstring& source, const std::wstring& target,
                               TPlanChoices choices) {
    const std::wstring folder = ExistingFolder(IncludeTrailingPathDelimiter(target));
    ULARGE_INTEGER available{};
    if (folder.empty() || !GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr)) {
        return {};
    }
    const ULONGLONG needed = PlanBytes(source, target, WindowsFontsFolder(), choices);
    if (needed <= available.QuadPart) {
        return {};
    }
    wchar_t volume[MAX_PATH + 1] = {};
    std::wstring drive = GetVolumePathNameW(folder.c_str(), volume, MAX_PATH + 1)
                             ? ExcludeTrailingPathDelimiter(volume)
                             : folder;
    return L"Недостаточно места на диске " + drive + L". Нужно " + Megabytes(needed, true) +
           L" МБ, свободно " + Megabytes(available.QuadPart, false) + L" МБ.";
}
