#include "common/CommonVar.h"

#include "common/IniValues.h"
#include "common/NumberFormat.h"
#include "common/Paths.h"

#include <windows.h>

#include <vector>

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

void LoadSettings() {
    // Before anything is read, so that reals always read with "." whatever the locale.
    SetFormatSettings({L'.', L' '});

    const TIniReader ini(GProgramDir + L"Settings\\holter.ini");
    const wchar_t* const options = L"options";
    TSettings& s = GProgramSettings;
    s.forMVD = false;
    s.forGE = ini.ReadBool(options, L"forGE", false);
    s.Person = 0;
    s.FilterType = static_cast<std::uint8_t>(ini.ReadIntegerIn(options, L"FilterType", 0, 255, 0));
    s.DefaultRegType = static_cast<Tregtype>(
        ini.ReadIntegerIn(options, L"DefaultRegType", 0, RegTypeCount - 1, 0));
    s.doformshow = ini.ReadBool(options, L"doformshow", true);
    s.DebugPrint = ini.ReadBool(options, L"DebugPrint", false);
    s.DebugMy = ini.ReadBool(options, L"DebugMy", false);
    s.PoverkaView = ini.ReadBool(options, L"PoverkaView", false);
    s.HviewDebug = ini.ReadBool(options, L"HviewDebug", false);
    s.ECGAtRestWork = ini.ReadBool(options, L"ECGAtRestWork", false);
    s.OnlyDecode = ini.ReadBool(options, L"onlydecode", false);
    s.SaveSwap = ini.ReadBool(options, L"saveswap", false);
    s.ChannelGain = ini.ReadFloat(options, L"Channel1Gain", 1.0);
    s.ChannelGain12 = ini.ReadFloat(options, L"Channel2Gain", 1.0);
    s.GroupProcess = ini.ReadBool(options, L"GroupProcess", false);
    s.EnabledScrining = ini.ReadBool(options, L"EnabledScrining", false);
    s.HardwareType = ini.ReadInteger(options, L"HardwareType", 1);
    s.LanguageSetting = ini.ReadString(options, L"LanguageSetting", L"");
    s.New_Reg = static_cast<std::uint8_t>(ini.ReadIntegerIn(options, L"new_reg", 0, 255, 0));
    s.NurseMode = ini.ReadBool(options, L"NurseMode", true);
    s.DoctorMode = ini.ReadBool(options, L"DoctorMode", true);
    s.EMIASTESTINGMODE = ini.ReadBool(options, L"EMIASTESTINGMODE", false);
    s.EMIASEMULATINGMODE = ini.ReadBool(options, L"EMIASEMULATINGMODE", false);
    s.RegEmulating = ini.ReadBool(options, L"RegEmulating", false);
    s.AriadnaSearchTesting = ini.ReadBool(options, L"AriadnaSearchTesting", false);
    s.UserIsMS = ini.ReadBool(options, L"UserIsMS", false);
    s.PraktikaSearchTesting = ini.ReadBool(options, L"PraktikaSearchTesting", false);
    s.PraktikaTesting = ini.ReadBool(options, L"PraktikaTesting", false);
}

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

void InitCommonVar() {
    InitCommonVarIn(ExecutableFolder());
}
