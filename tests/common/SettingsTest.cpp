#include "common/CommonVar.h"
#include "common/NumberFormat.h"
#include "common/Paths.h"
#include "common/SettingsKeys.h"
#include "common/Utf8.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// A program folder whose Settings\holter.ini holds the given text, loaded as at start-up.
const TSettings& LoadWith(const TTempFolder& folder, const std::string& ini) {
    CreateDirectoryW((folder / L"Settings").c_str(), nullptr);
    WriteBytes(folder / L"Settings\\holter.ini", ini);
    InitCommonVarForTests(ExcludeTrailingPathDelimiter(folder.Path()));
    return ProgramSettings;
}

std::wstring Text(bool value) {
    return value ? L"true" : L"false";
}
std::wstring Text(std::uint8_t value) {
    return std::to_wstring(value);
}
std::wstring Text(Tregtype value) {
    return L"regtype " + std::to_wstring(static_cast<int>(value));
}
std::wstring Text(THViewType value) {
    return L"viewtype " + std::to_wstring(static_cast<int>(value));
}
std::wstring Text(std::int32_t value) {
    return std::to_wstring(value);
}
std::wstring Text(double value) {
    return L"real " + std::to_wstring(value);
}
std::wstring Text(const std::wstring& value) {
    return L"\"" + value + L"\"";
}

#define FIELD(name) #name, [](const TSettings& s) { return Text(s.name); }

// The record as the settings file's description gives it, written out here and not taken from
// the product's key table, so that a swapped key or a wrong default there shows. Each key
// comes with a value that is not its default and what the field then holds.
struct TFieldRow {
    const char* Key; // nullptr: not read from the file
    const char* Name;
    std::wstring (*Field)(const TSettings&);
    std::wstring Default;
    const char* Value;
    std::wstring Read;
};
const TFieldRow Fields[] = {
    {nullptr, FIELD(HViewType), L"viewtype 0", nullptr, L""},
    {nullptr, FIELD(CorrectProbeli), L"false", nullptr, L""},
    {nullptr, FIELD(forMVD), L"false", nullptr, L""},
    {nullptr, FIELD(Person), L"0", nullptr, L""},
    {"forGE", FIELD(forGE), L"false", "1", L"true"},
    {"FilterType", FIELD(FilterType), L"0", "200", L"200"},
    {"DefaultRegType", FIELD(DefaultRegType), L"regtype 0", "6", L"regtype 6"},
    {"doformshow", FIELD(doformshow), L"true", "0", L"false"},
    {"DebugPrint", FIELD(DebugPrint), L"false", "1", L"true"},
    {"DebugMy", FIELD(DebugMy), L"false", "1", L"true"},
    {"PoverkaView", FIELD(PoverkaView), L"false", "1", L"true"},
    {"HviewDebug", FIELD(HviewDebug), L"false", "1", L"true"},
    {"ECGAtRestWork", FIELD(ECGAtRestWork), L"false", "1", L"true"},
    {"onlydecode", FIELD(OnlyDecode), L"false", "1", L"true"},
    {"saveswap", FIELD(SaveSwap), L"false", "1", L"true"},
    {"Channel1Gain", FIELD(ChannelGain), L"real 1.000000", "2.5", L"real 2.500000"},
    {"Channel2Gain", FIELD(ChannelGain12), L"real 1.000000", "0.25", L"real 0.250000"},
    {"GroupProcess", FIELD(GroupProcess), L"false", "1", L"true"},
    {"EnabledScrining", FIELD(EnabledScrining), L"false", "1", L"true"},
    {"HardwareType", FIELD(HardwareType), L"1", "-7", L"-7"},
    {"LanguageSetting", FIELD(LanguageSetting), L"\"\"", "abc", L"\"abc\""},
    {"new_reg", FIELD(New_Reg), L"0", "9", L"9"},
    {"NurseMode", FIELD(NurseMode), L"true", "0", L"false"},
    {"DoctorMode", FIELD(DoctorMode), L"true", "0", L"false"},
    {"EMIASTESTINGMODE", FIELD(EMIASTESTINGMODE), L"false", "1", L"true"},
    {"EMIASEMULATINGMODE", FIELD(EMIASEMULATINGMODE), L"false", "1", L"true"},
    {"RegEmulating", FIELD(RegEmulating), L"false", "1", L"true"},
    {"AriadnaSearchTesting", FIELD(AriadnaSearchTesting), L"false", "1", L"true"},
    {"UserIsMS", FIELD(UserIsMS), L"false", "1", L"true"},
    {"PraktikaSearchTesting", FIELD(PraktikaSearchTesting), L"false", "1", L"true"},
    {"PraktikaTesting", FIELD(PraktikaTesting), L"false", "1", L"true"},
};
#undef FIELD

// Every field holds its default, except the one named, which holds what its key read.
void ExpectDefaults(const TSettings& s, const TFieldRow* except = nullptr) {
    for (const TFieldRow& row : Fields) {
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(row.Field(s), &row == except ? row.Read : row.Default);
    }
}
} // namespace

TEST(Settings, StartUpBesideAnExecutableWithoutSettingsFolder) {
    InitCommonVar();
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const std::wstring path = exe;
    EXPECT_EQ(ProgramDir, path.substr(0, path.rfind(L'\\') + 1));
    ExpectDefaults(ProgramSettings);
    EXPECT_EQ(LanguageFile, L"");
    EXPECT_EQ(LanguageCode, L"RUS");
    EXPECT_EQ(FormatSettings().DecimalSeparator, L'.');
    EXPECT_EQ(FormatSettings().ThousandSeparator, L' ');
}

TEST(Settings, KeysThatAreNotReadChangeNothing) {
    TTempFolder folder;
    ExpectDefaults(LoadWith(folder, "[options]\r\nforMVD=1\r\nPerson=5\r\nHViewType=3\r\n"
                                    "CorrectProbeli=1\r\n[other]\r\nDebugPrint=1\r\n"));
}

#define FIELD(name) [](const TSettings& s) { return static_cast<double>(s.name); }

// One key at a time: it sets exactly its own field, so no two keys share a field or swap.
TEST(Settings, EachKeySetsExactlyItsField) {
    for (const TFieldRow& row : Fields) {
        if (row.Key == nullptr) {
            continue;
        }
        SCOPED_TRACE(row.Key);
        TTempFolder folder;
        ExpectDefaults(
            LoadWith(folder, std::string("[options]\r\n") + row.Key + "=" + row.Value + "\r\n"),
            &row);
    }
}

// The product reads its keys in the documented order, each exactly once.
TEST(Settings, TheKeyTableHoldsEveryKeyInOrder) {
    std::vector<std::wstring> expected;
    for (const TFieldRow& row : Fields) {
        if (row.Key != nullptr) {
            expected.push_back(Widen(row.Key));
        }
    }
    std::vector<std::wstring> actual;
    for (const TSettingsKey& key : SettingsKeys) {
        actual.push_back(key.Key);
    }
    EXPECT_EQ(actual, expected);
}

TEST(Settings, ValueSyntax) {
    struct TCase {
        const char* Line;
        double (*Field)(const TSettings&);
        double Expected;
    };
    const TCase cases[] = {
        {"DebugPrint=2", FIELD(DebugPrint), 1},
        {"doformshow=yes", FIELD(doformshow), 1},
        {"doformshow=0", FIELD(doformshow), 0},
        {"NurseMode=0", FIELD(NurseMode), 0},
        {"DoctorMode=", FIELD(DoctorMode), 1},
        {"PraktikaTesting=0x1", FIELD(PraktikaTesting), 1},
        {"FilterType=0x10", FIELD(FilterType), 16},
        {"FilterType=$10", FIELD(FilterType), 16},
        {"FilterType=0X1f", FIELD(FilterType), 31},
        {"FilterType=0x", FIELD(FilterType), 0},
        {"FilterType=257", FIELD(FilterType), 0},
        {"FilterType=-1", FIELD(FilterType), 0},
        {"new_reg=255", FIELD(New_Reg), 255},
        {"new_reg=300", FIELD(New_Reg), 0},
        {"DefaultRegType=7", FIELD(DefaultRegType), 7},
        {"DefaultRegType=8", FIELD(DefaultRegType), 0},
        {"HardwareType=-5", FIELD(HardwareType), -5},
        {"HardwareType=$FFFFFFFF", FIELD(HardwareType), -1},
        {"HardwareType=2147483648", FIELD(HardwareType), 1},
        {"HardwareType=12abc", FIELD(HardwareType), 1},
        {"Channel1Gain=1.5", FIELD(ChannelGain), 1.5},
        {"Channel1Gain=1,5", FIELD(ChannelGain), 1.0},
        {"Channel1Gain=1 000", FIELD(ChannelGain), 1.0},
        {"Channel2Gain=-2.5e1", FIELD(ChannelGain12), -25},
        {"Channel2Gain=", FIELD(ChannelGain12), 1.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Line);
        TTempFolder folder;
        EXPECT_EQ(c.Field(LoadWith(folder, std::string("[options]\r\n") + c.Line + "\r\n")),
                  c.Expected);
    }
}

TEST(Settings, SectionAndKeyNamesIgnoreCase) {
    TTempFolder folder;
    const TSettings& s =
        LoadWith(folder, "[OPTIONS]\r\ndebugprint=1\r\nCHANNEL1GAIN=2.5\r\nFILTERtype=7\r\n");
    EXPECT_TRUE(s.DebugPrint);
    EXPECT_EQ(s.ChannelGain, 2.5);
    EXPECT_EQ(s.FilterType, 7);
}

TEST(Settings, OnlyExactlyEngChoosesTheEnglishLanguageFile) {
    const struct {
        const char* Value;
        const wchar_t* Code;
    } cases[] = {{"ENG", L"ENG"}, {"\"ENG\"", L"ENG"}, {"eng", L"RUS"}, {"ENGL", L"RUS"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Value);
        TTempFolder folder;
        LoadWith(folder, std::string("[options]\r\nLanguageSetting=") + c.Value + "\r\n");
        EXPECT_EQ(LanguageCode, c.Code);
        EXPECT_EQ(LanguageFile,
                  LanguageCode == L"ENG" ? folder / L"Settings\\EngView.lng" : std::wstring());
    }
}

TEST(Settings, StringsStopAt2047Characters) {
    TTempFolder folder;
    const TSettings& s =
        LoadWith(folder, "[options]\r\nLanguageSetting=" + std::string(3000, 'x') + "\r\n");
    EXPECT_EQ(s.LanguageSetting, std::wstring(2047, L'x'));
}
