#include "SuiteFiles.h"

namespace e2e {
namespace {

constexpr TFileCopy Core[] = {
    {L"DTAfb\\R47.FDB", L"DTAfb\\R47.FDB"},
    {L"Firebird\\aliases.conf", L"aliases.conf"},
    {L"Firebird\\firebird.conf", L"firebird.conf"},
    {L"Firebird\\fbclient.Dll", L"fbclient.Dll"},
    {L"Firebird\\ib_util.Dll", L"ib_util.Dll"},
    {L"Firebird\\icudt30.Dll", L"icudt30.Dll"},
    {L"Firebird\\icuin30.Dll", L"icuin30.Dll"},
    {L"Firebird\\icuuc30.Dll", L"icuuc30.Dll"},
    {L"Firebird\\msvcp80.Dll", L"msvcp80.Dll"},
    {L"Firebird\\msvcr80.Dll", L"msvcr80.Dll"},
    {L"Firebird\\firebird.msg", L"firebird.msg"},
    {L"Firebird\\gbak.exe", L"gbak.exe"},
    {L"Firebird\\gds32.dll", L"gds32.dll"},
    {L"Firebird\\intl\\fbintl.conf", L"intl\\fbintl.conf"},
    {L"Firebird\\intl\\fbintl.dll", L"intl\\fbintl.dll"},
    {L"Firebird\\udf\\fbudf.dll", L"udf\\fbudf.dll"},
    {L"Firebird\\udf\\ib_udf.dll", L"udf\\ib_udf.dll"},
    {L"Firebird\\udf\\fbudf.sql", L"udf\\fbudf.sql"},
    {L"Firebird\\udf\\ib_udf.sql", L"udf\\ib_udf.sql"},
    {L"Firebird\\udf\\ib_udf2.sql", L"udf\\ib_udf2.sql"},
    {L"UDF\\Compare.Dll", L"udf\\Compare.Dll"},
    {L"UDF\\PosStr.Dll", L"udf\\PosStr.Dll"},
    {L"UDF\\ProcessingECG.Dll", L"udf\\ProcessingECG.Dll"},
    {L"UDF\\SDecision.Dll", L"udf\\SDecision.Dll"},
};

constexpr TFont FontList[] = {
    {L"ARIAL.TTF", L"DejaVu Sans"},     {L"ARIALN.TTF", L"DejaVu Sans Bold"},
    {L"COUR.TTF", L"DejaVu Sans Mono"}, {L"MICROSS.TTF", L"FreeSans"},
    {L"TAHOMA.TTF", L"FreeMono"},       {L"TIMES.TTF", L"FreeSerif"},
    {L"verdana.TTF", L"DejaVu Serif"},
};

} // namespace

std::span<const TFileCopy> CoreFiles() {
    return Core;
}

std::span<const TFont> Fonts() {
    return FontList;
}

} // namespace e2e
