#pragma once
#include <span>

// The files the run copies by name, shared by the run and by its free-space estimate.
using TNames = std::span<const wchar_t* const>;

namespace InstallFiles {

inline constexpr const wchar_t* RuntimeListA[] = {
    L"aliases.conf", L"firebird.conf", L"fbclient.Dll", L"ib_util.Dll",
    L"icudt30.Dll",  L"icuin30.Dll",   L"icuuc30.Dll",  L"msvcp80.Dll",
    L"msvcr80.Dll",  L"firebird.msg",  L"gbak.exe",     L"gds32.dll"};
inline constexpr const wchar_t* RuntimeListB[] = {
    L"aliases.conf", L"firebird.conf", L"fbclient.Dll", L"ib_util.Dll", L"icudt30.Dll",
    L"icuin30.Dll",  L"icuuc30.Dll",   L"msvcp71.Dll",  L"msvcr71.Dll", L"firebird.msg"};
inline constexpr const wchar_t* IntlFiles[] = {L"fbintl.conf", L"fbintl.dll"};
inline constexpr const wchar_t* UdfFiles[] = {L"fbudf.dll", L"ib_udf.dll", L"fbudf.sql",
                                              L"ib_udf.sql", L"ib_udf2.sql"};
inline constexpr const wchar_t* Libraries[] = {L"Compare.Dll", L"PosStr.Dll", L"ProcessingECG.Dll",
                                               L"SDecision.Dll"};
inline constexpr const wchar_t* Database = L"R47.FDB";

// The runtime list for the choice of the Windows box: index 0 is list A.
inline TNames Runtime(bool listA) {
    return listA ? TNames(RuntimeListA) : TNames(RuntimeListB);
}

} // namespace InstallFiles
