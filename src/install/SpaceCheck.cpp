#include "install/SpaceCheck.h"

#include "common/DirEnum.h"
#include "common/Paths.h"
#include "common/WindowsFolder.h"
#include "install/InstallFiles.h"
#include "install/InstallRecord.h"
#include "integration/Fonts.h"

#include <cstdio>

using namespace InstallFiles;

namespace {

// Sizes in signed arithmetic: a replaced file larger than its new copy gives back space.
using TBytes = long long;

TBytes FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return 0;
    }
    return static_cast<TBytes>((static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) |
                               data.nFileSizeLow);
}

// What copying one file costs: its size, less the size of the file it replaces.
TBytes FileCost(const std::wstring& from, const std::wstring& to) {
    return FileSize(from) - FileSize(to);
}

TBytes ListCost(TNames names, const std::wstring& from, const std::wstring& to) {
    TBytes sum = 0;
    for (const wchar_t* name : names) {
        sum += FileCost(from + name, to + name);
    }
    return sum;
}

// A folder copied with everything in it; both end in "\".
TBytes TreeCost(const std::wstring& from, const std::wstring& to) {
    TBytes sum = 0;
    for (const TDirEntry& entry : ListDirEntries(from + L"*", faAnyFile | faDirectory)) {
        if (IsDotEntry(entry.Name)) {
            continue;
        }
        sum += entry.IsDirectory() ? TreeCost(from + entry.Name + L'\\', to + entry.Name + L'\\')
                                   : FileCost(from + entry.Name, to + entry.Name);
    }
    return sum;
}

TBytes FontsCost(const std::wstring& from, const std::wstring& fontsFolder) {
    TBytes sum = 0;
    for (const wchar_t* name : ShippedFonts()) {
        if (!FileExists(fontsFolder + name)) {
            sum += FileSize(from + name);
        }
    }
    return sum;
}

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

ULONGLONG BytesToInstall(const std::wstring& source, const std::wstring& target,
                         TSpaceChoices choices) {
    // The uninstaller is this program's copy.
    TBytes sum = FileCost(ExecutablePath(), target + UninstallerName);
    sum += FileSize(source + L"DTAfb\\" + Database);
    sum += ListCost(Runtime(choices.ListA), source + L"Firebird\\", target);
    sum += ListCost(IntlFiles, source + L"Firebird\\intl\\", target + L"intl\\");
    sum += ListCost(UdfFiles, source + L"Firebird\\udf\\", target + L"udf\\");
    sum += ListCost(Libraries, source + L"UDF\\", target + L"udf\\");
    sum += FontsCost(source + L"fonts\\", GetWindowsFolder() + L"fonts\\");
    if (choices.InstallDriver) {
        sum += TreeCost(source + L"FTDIDriverInstall\\", target + L"FTDIDriverInstall\\");
    }
    sum += TreeCost(source + L"backup\\", target + L"backup\\");
    sum += TreeCost(source + L"Updater\\", target);
    return sum > 0 ? static_cast<ULONGLONG>(sum) : 0;
}

std::wstring FreeSpaceShortage(const std::wstring& source, const std::wstring& target,
                               TSpaceChoices choices) {
    const std::wstring folder = ExistingFolder(IncludeTrailingPathDelimiter(target));
    ULARGE_INTEGER available{};
    if (folder.empty() || !GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr)) {
        return {};
    }
    const ULONGLONG needed = BytesToInstall(source, target, choices);
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
