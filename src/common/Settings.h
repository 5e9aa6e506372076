#pragma once
#include <cstdint>
#include <string>

enum class THViewType : std::uint8_t {
    hvtStandart,
    hvtFragment,
    hvtOnline,
    hvtTest,
    hvtSaveSkr,
    hvtSaveDin,
    hvtAD,
    hvtNone
};

// The recorder models, by the ordinal that "DefaultRegType" stores.
enum class Tregtype : std::uint8_t {
    rtRecorder0,
    rtRecorder1,
    rtRecorder2,
    rtRecorder3,
    rtRecorder4,
    rtRecorder5,
    rtRecorder6,
    rtRecorder7
};
constexpr int RegTypeCount = 8;

// The suite's main settings, shared with its other programs; see LoadSettings for the keys.
struct TSettings {
    THViewType HViewType = THViewType::hvtStandart;
    bool DebugPrint = false;
    bool DebugMy = false;
    bool PoverkaView = false;
    bool HviewDebug = false;
    bool GroupProcess = false;
    bool doformshow = false;
    bool EnabledScrining = false;
    bool ECGAtRestWork = false;
    bool OnlyDecode = false;
    bool SaveSwap = false;
    double ChannelGain = 0;
    double ChannelGain12 = 0;
    std::int32_t HardwareType = 0;
    std::uint8_t FilterType = 0;
    bool CorrectProbeli = false;
    bool forMVD = false;
    bool forGE = false;
    std::uint8_t Person = 0;
    std::wstring LanguageSetting;
    std::uint8_t New_Reg = 0;
    Tregtype DefaultRegType = Tregtype::rtRecorder0;
    bool NurseMode = false;
    bool DoctorMode = false;
    bool EMIASTESTINGMODE = false;
    bool EMIASEMULATINGMODE = false;
    bool RegEmulating = false;
    bool AriadnaSearchTesting = false;
    bool UserIsMS = false;
    bool PraktikaSearchTesting = false;
    bool PraktikaTesting = false;
};
