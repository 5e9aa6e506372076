#include "common/CommonVar.h"

#include "common/IniValues.h"
#include "common/NumberFormat.h"
#include "common/Paths.h"
#include "common/SettingsKeys.h"

#include <windows.h>

#include <variant>

namespace {
std::wstring GProgramDir;
TSettings GProgramSettings;
std::wstring GLanguageFile;
std::wstring GLanguageCode;
} // namespace

const std::wstring& ProgramDir = GProgramDir;
const TSettings& ProgramSettings = GProgramSettings;
const std::wstring& LanguageFile = GLanguageFile;
const std::wstring& LanguageCode = GLanguageCode;

namespace {
template <class... F> struct TOverloaded : F... { using F::operator()...; };

void ReadKey(const TIniReader& ini, const TSettingsKey& key, TSettings& s) {
    const wchar_t* const options = L"options";
    const wchar_t* const name = key.Key;
    std::visit(TOverloaded{
                   [&](const TSettingsField<bool>& f) {
                       s.*f.Member = ini.ReadBool(options, name, f.Default);
                   },
                   [&](const TSettingsField<std::uint8_t>& f) {
                       s.*f.Member = static_cast<std::uint8_t>(
                           ini.ReadIntegerIn(options, name, 0, 255, f.Default));
                   },
                   [&](const TSettingsField<Tregtype>& f) {
                       s.*f.Member = static_cast<Tregtype>(ini.ReadIntegerIn(
                           options, name, 0, RegTypeCount - 1, static_cast<int>(f.Default)));
                   },
                   [&](const TSettingsField<double>& f) {
                       s.*f.Member = ini.ReadFloat(options, name, f.Default);
                   },
                   [&](const TSettingsField<std::int32_t>& f) {
                       s.*f.Member = ini.ReadInteger(options, name, f.Default);
                   },
                   [&](const TSettingsField<std::wstring, const wchar_t*>& f) {
                       s.*f.Member = ini.ReadString(options, name, f.Default);
                   },
               },
               key.Field);
}
} // namespace

void LoadSettings() {
    // Before anything is read, so that reals always read with "." whatever the locale.
    SetFormatSettings({L'.', L' '});

    const TIniReader ini(GProgramDir + L"Settings\\holter.ini");
    GProgramSettings.forMVD = false;
    GProgramSettings.Person = 0;
    for (const TSettingsKey& key : SettingsKeys) {
        ReadKey(ini, key, GProgramSettings);
    }
}

namespace {
void InitCommonVarIn(const std::wstring& programDir) {
    GProgramDir = IncludeTrailingPathDelimiter(programDir);
    LoadSettings();
    GLanguageFile.clear();
    GLanguageCode = L"RUS";
    if (GProgramSettings.LanguageSetting == L"ENG") {
        GLanguageFile = GProgramDir + L"Settings\\EngView.lng";
        GLanguageCode = L"ENG";
    }
}

} // namespace

void InitCommonVar() {
    InitCommonVarIn(ExecutableFolder());
}

void InitCommonVarForTests(const std::wstring& programDir) {
    InitCommonVarIn(programDir);
}
