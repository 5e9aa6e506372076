#pragma once
#include "common/Settings.h"

#include <array>
#include <cstdint>
#include <variant>

// A field of the settings record and the value it takes when its key gives none.
template <class T, class D = T> struct TSettingsField {
    T TSettings::*Member;
    D Default;
};

// One key of the section "options": its name, and the field it fills with its default. The
// field's type says how the value is read (integers into one byte are range-checked).
struct TSettingsKey {
    const wchar_t* Key;
    std::variant<TSettingsField<bool>, TSettingsField<std::uint8_t>, TSettingsField<Tregtype>,
                 TSettingsField<double>, TSettingsField<std::int32_t>,
                 TSettingsField<std::wstring, const wchar_t*>>
        Field;
};

// The keys of the settings file, in the order in which they are read; the only place where a
// key meets its field.
inline constexpr std::array<TSettingsKey, 27> SettingsKeys{{
    {L"forGE", TSettingsField<bool>{&TSettings::forGE, false}},
    {L"FilterType", TSettingsField<std::uint8_t>{&TSettings::FilterType, 0}},
    {L"DefaultRegType",
     TSettingsField<Tregtype>{&TSettings::DefaultRegType, Tregtype::rtRecorder0}},
    {L"doformshow", TSettingsField<bool>{&TSettings::doformshow, true}},
    {L"DebugPrint", TSettingsField<bool>{&TSettings::DebugPrint, false}},
    {L"DebugMy", TSettingsField<bool>{&TSettings::DebugMy, false}},
    {L"PoverkaView", TSettingsField<bool>{&TSettings::PoverkaView, false}},
    {L"HviewDebug", TSettingsField<bool>{&TSettings::HviewDebug, false}},
    {L"ECGAtRestWork", TSettingsField<bool>{&TSettings::ECGAtRestWork, false}},
    {L"onlydecode", TSettingsField<bool>{&TSettings::OnlyDecode, false}},
    {L"saveswap", TSettingsField<bool>{&TSettings::SaveSwap, false}},
    {L"Channel1Gain", TSettingsField<double>{&TSettings::ChannelGain, 1.0}},
    {L"Channel2Gain", TSettingsField<double>{&TSettings::ChannelGain12, 1.0}},
    {L"GroupProcess", TSettingsField<bool>{&TSettings::GroupProcess, false}},
    {L"EnabledScrining", TSettingsField<bool>{&TSettings::EnabledScrining, false}},
    {L"HardwareType", TSettingsField<std::int32_t>{&TSettings::HardwareType, 1}},
    {L"LanguageSetting",
     TSettingsField<std::wstring, const wchar_t*>{&TSettings::LanguageSetting, L""}},
    {L"new_reg", TSettingsField<std::uint8_t>{&TSettings::New_Reg, 0}},
    {L"NurseMode", TSettingsField<bool>{&TSettings::NurseMode, true}},
    {L"DoctorMode", TSettingsField<bool>{&TSettings::DoctorMode, true}},
    {L"EMIASTESTINGMODE", TSettingsField<bool>{&TSettings::EMIASTESTINGMODE, false}},
    {L"EMIASEMULATINGMODE", TSettingsField<bool>{&TSettings::EMIASEMULATINGMODE, false}},
    {L"RegEmulating", TSettingsField<bool>{&TSettings::RegEmulating, false}},
    {L"AriadnaSearchTesting", TSettingsField<bool>{&TSettings::AriadnaSearchTesting, false}},
    {L"UserIsMS", TSettingsField<bool>{&TSettings::UserIsMS, false}},
    {L"PraktikaSearchTesting", TSettingsField<bool>{&TSettings::PraktikaSearchTesting, false}},
    {L"PraktikaTesting", TSettingsField<bool>{&TSettings::PraktikaTesting, false}},
}};
