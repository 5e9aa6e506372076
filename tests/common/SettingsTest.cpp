#include "common/CommonVar.h"
#include "common/NumberFormat.h"
#include "common/Paths.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {
// A program folder whose Settings\holter.ini holds the given text, loaded as at start-up.
const TSettings& LoadWith(const TTempFolder& folder, const std::string& ini) {
    CreateDirectoryW((folder / L"Settings").c_str(), nullptr);
    WriteBytes(folder / L"Settings\\holter.ini", ini);
    InitCommonVarIn(ExcludeTrailingPathDelimiter(folder.Path()));
    return ProgramSettings;
}

void ExpectDefaults(const TSettings& s) {
    EXPECT_EQ(s.HViewType, THViewType::hvtStandart);
    EXPECT_EQ(s.CorrectProbeli, false);
    EXPECT_EQ(s.forMVD, false);
    EXPECT_EQ(s.Person, 0);
    EXPECT_EQ(s.forGE, false);
    EXPECT_EQ(s.FilterType, 0);
    EXPECT_EQ(s.DefaultRegType, Tregtype::rtRecorder0);
    EXPECT_EQ(s.doformshow, true);
    EXPECT_EQ(s.DebugPrint || s.DebugMy || s.PoverkaView || s.HviewDebug || s.ECGAtRestWork ||
                  s.OnlyDecode || s.SaveSwap || s.GroupProcess || s.EnabledScrining,
              false);
    EXPECT_EQ(s.ChannelGain, 1.0);
    EXPECT_EQ(s.ChannelGain12, 1.0);
    EXPECT_EQ(s.HardwareType, 1);
    EXPECT_EQ(s.LanguageSetting, L"");
    EXPECT_EQ(s.New_Reg, 0);
    EXPECT_EQ(s.NurseMode, true);
    EXPECT_EQ(s.DoctorMode, true);
    EXPECT_EQ(s.EMIASTESTINGMODE || s.EMIASEMULATINGMODE || s.RegEmulating ||
                  s.AriadnaSearchTesting || s.UserIsMS || s.PraktikaSearchTesting ||
                  s.PraktikaTesting,
              false);
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
