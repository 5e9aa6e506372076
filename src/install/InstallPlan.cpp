#include "install/InstallPlan.h"

#include "common/DirEnum.h"
#include "common/Paths.h"
#include "install/InstallRecord.h"
#include "integration/Fonts.h"

using namespace InstallFiles;

namespace {

constexpr const wchar_t* Uninstaller[] = {UninstallerName};
constexpr const wchar_t* SettingsFile[] = {L"holter.ini"};
constexpr const wchar_t* ReferenceFiles[] = {L"uca.nsi", L"wra.nsi"};
constexpr const wchar_t* DatabaseFile[] = {Database};
constexpr const wchar_t* RuntimeListA[] = {L"aliases.conf", L"firebird.conf", L"fbclient.Dll",
                                           L"ib_util.Dll",  L"icudt30.Dll",   L"icuin30.Dll",
                                           L"icuuc30.Dll",  L"msvcp80.Dll",   L"msvcr80.Dll",
                                           L"firebird.msg", L"gbak.exe",      L"gds32.dll"};
constexpr const wchar_t* RuntimeListB[] = {
    L"aliases.conf", L"firebird.conf", L"fbclient.Dll", L"ib_util.Dll", L"icudt30.Dll",
    L"icuin30.Dll",  L"icuuc30.Dll",   L"msvcp71.Dll",  L"msvcr71.Dll", L"firebird.msg"};
constexpr const wchar_t* IntlFiles[] = {L"fbintl.conf", L"fbintl.dll"};
constexpr const wchar_t* UdfFiles[] = {L"fbudf.dll", L"ib_udf.dll", L"fbudf.sql", L"ib_udf.sql",
                                       L"ib_udf2.sql"};
constexpr const wchar_t* Libraries[] = {L"Compare.Dll", L"PosStr.Dll", L"ProcessingECG.Dll",
                                        L"SDecision.Dll"};
constexpr const wchar_t* CounterFile[] = {L"lastnum.dta"};
constexpr const wchar_t* BrandFile[] = {L"btooth.ini"};
// Shipped read-only; the updater rewrites them.
constexpr const wchar_t* UpdaterWritable[] = {ReleaseFile, L"Updater.exe.cfg"};
constexpr const wchar_t* ReleaseLevel[] = {ReleaseFile};

constexpr const wchar_t* Settings = L"Settings\\";
constexpr const wchar_t* DatabaseFolder = L"DTAfb\\";

using enum TPlanAction;
using enum TPlanWhen;
using enum TPlanBytes;

// Whole trees and the shortcut name no files.
const TPlanRow Rows[] = {
    {paUninstaller, pwAlways, L"", L"", Uninstaller, pbWhole, false, false},
    {paSettingsKeys, pwAlways, L"", Settings, SettingsFile, pbNothing, true, false},
    {paReferenceFiles, pwAlways, L"", Settings, ReferenceFiles, pbNothing, true, true},
    {paDatabase, pwAlways, DatabaseFolder, DatabaseFolder, DatabaseFile, pbWhole, true, true},
    {paFiles, pwListA, L"Firebird\\", L"", RuntimeListA, pbWhole, false, true},
    {paFiles, pwListB, L"Firebird\\", L"", RuntimeListB, pbWhole, false, true},
    {paFiles, pwAlways, L"Firebird\\intl\\", L"intl\\", IntlFiles, pbWhole, false, true},
    {paFiles, pwAlways, L"Firebird\\udf\\", L"udf\\", UdfFiles, pbWhole, false, true},
    {paLibraries, pwAlways, L"UDF\\", L"udf\\", Libraries, pbWhole, false, true},
    {paCounterFile, pwAlways, L"", Settings, CounterFile, pbNothing, true, true},
    {paBrandFile, pwBrand, L"", L"", BrandFile, pbNothing, false, true},
    {paFonts, pwAlways, L"fonts\\", L"", {}, pbMissing, false, false},
    {paDriver, pwDriver, L"FTDIDriverInstall\\", L"FTDIDriverInstall\\", {}, pbWhole, false, false},
    {paTree, pwAlways, BackupFolder, BackupFolder, {}, pbWhole, false, false},
    {paTree, pwAlways, L"Updater\\", L"", UpdaterWritable, pbWhole, false, false},
    {paReleaseLevel, pwAlways, L"", L"", ReleaseLevel, pbNothing, false, false},
    {paShortcut, pwAlways, L"", L"", {}, pbNothing, false, false},
};

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

// What copying one file costs, as the row counts it.
TBytes FileCost(TPlanBytes bytes, const std::wstring& from, const std::wstring& to) {
    switch (bytes) {
    case pbWhole:
        return FileSize(from);
    case pbMissing:
        return FileExists(to) ? 0 : FileSize(from);
    case pbNothing:
        break;
    }
    return 0;
}

// A folder copied with everything in it; both end in "\".
TBytes TreeCost(TPlanBytes bytes, const std::wstring& from, const std::wstring& to) {
    TBytes sum = 0;
    for (const TDirEntry& entry : ListDirEntries(from + L"*", faAnyFile | faDirectory)) {
        if (IsDotEntry(entry.Name)) {
            continue;
        }
        sum += entry.IsDirectory()
                   ? TreeCost(bytes, from + entry.Name + L'\\', to + entry.Name + L'\\')
                   : FileCost(bytes, from + entry.Name, to + entry.Name);
    }
    return sum;
}

TBytes RowCost(const TPlanRow& row, const std::wstring& source, const std::wstring& target,
               const std::wstring& fonts) {
    switch (row.Action) {
    case paUninstaller:
        return FileCost(row.Bytes, ExecutablePath(), target + UninstallerName);
    case paFonts: {
        TBytes sum = 0;
        for (const wchar_t* name : ShippedFonts()) {
            sum += FileCost(row.Bytes, source + row.Source + name, fonts + name);
        }
        return sum;
    }
    case paDriver:
    case paTree:
        return TreeCost(row.Bytes, source + row.Source, target + row.Target);
    default:
        break;
    }
    TBytes sum = 0;
    for (const wchar_t* name : row.Names) {
        sum += FileCost(row.Bytes, source + row.Source + name, target + row.Target + name);
    }
    return sum;
}

} // namespace

std::span<const TPlanRow> InstallPlan() {
    return Rows;
}

bool Applies(const TPlanRow& row, TPlanChoices choices) {
    switch (row.When) {
    case pwListA:
        return choices.ListA;
    case pwListB:
        return !choices.ListA;
    case pwDriver:
        return choices.InstallDriver;
    case pwBrand:
        return choices.LovenaBrand;
    case pwAlways:
        break;
    }
    return true;
}

const wchar_t* SettingsFolder() {
    return Settings;
}

bool IsKeptForClinic(const std::wstring& relative) {
    for (const TPlanRow& row : Rows) {
        if (row.Kept && StartsWithPath(IncludeTrailingPathDelimiter(relative), row.Target)) {
            return true;
        }
    }
    return false;
}

ULONGLONG PlanBytes(const std::wstring& source, const std::wstring& target,
                    const std::wstring& fonts, TPlanChoices choices) {
    TBytes sum = 0;
    for (const TPlanRow& row : Rows) {
        if (Applies(row, choices)) {
            sum += RowCost(row, source, target, fonts);
        }
    }
    return sum > 0 ? static_cast<ULONGLONG>(sum) : 0;
}
