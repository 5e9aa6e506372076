#include "integration/Fonts.h"

#include "common/Handles.h"
#include "common/Paths.h"
#include "common/WindowsFolder.h"
#include "primitives/FilePrimitives.h"
#include "integration/FontFaceName.h"
#include "integration/FontRegistry.h"
#include "integration/FontResource.h"

#include <array>

namespace {

// In the order of installation; the names are the files' names in both folders.
constexpr std::array<const wchar_t*, 7> FontList{
    L"ARIAL.TTF",  L"ARIALN.TTF", L"COUR.TTF",    L"MICROSS.TTF",
    L"TAHOMA.TTF", L"TIMES.TTF",  L"verdana.TTF",
};

struct TFontFolders {
    std::wstring Source;
    std::wstring Windows;
    TFontInstalled Installed;
    TFontInstalled Installing;
};

// A link counts as the file it leads to; a folder of that name is no file.
bool FontFileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }
    TUniqueFile target(CreateFileW(path.c_str(), 0,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    return target && GetFileInformationByHandle(target.get(), &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void InstallFont(const TFontFolders& folders, const std::wstring& FileName, const TLogLine& log) {
    const std::wstring target = folders.Windows + FileName;
    if (FontFileExists(target)) {
        return;
    }
    const std::wstring source = folders.Source + FileName;
    const std::wstring description = ReadFontFaceName(source);
    const std::wstring value = description + L" (TrueType)";
    if (folders.Installing) {
        folders.Installing(target, value);
    }
    if (!CheckStreamCopy(CopyFileByStream(source, target), source, target)) {
        // A half-written font must neither be registered nor stay where Windows would
        // load it at the next sign-in.
        DeleteFileW(target.c_str());
        return;
    }
    RegisterFont(value, FileName);
    if (folders.Installed) {
        folders.Installed(target, value);
    }
    AnnounceFont(target);
    log(L"Шрифт <" + description + L"> уcтановлен");
}

} // namespace

void BroadcastFontChange() {
    SendMessageW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
}

void InstallFonts(const std::wstring& sourceFolder, const std::wstring& fontsFolder,
                  const TLogLine& log, const TFontInstalled& installed,
                  const TFontInstalled& installing) {
    const TFontFolders folders{sourceFolder, fontsFolder, installed, installing};
    for (const wchar_t* fileName : FontList) {
        InstallFont(folders, fileName, log);
    }
}

// Running programs learn of the font now; the registration makes Windows load it for good
// at the next sign-in, so the setup program keeps no font resource of its own.
void AnnounceFont(const std::wstring& path) {
    {
        TFontResource font(path);
        BroadcastFontChange();
    }
    BroadcastFontChange();
}

std::span<const wchar_t* const> ShippedFonts() {
    return FontList;
}

void InstallFonts(const TLogLine& log) {
    InstallFonts(ExecutableFolder() + L"fonts\\", WindowsFontsFolder(), log);
}
