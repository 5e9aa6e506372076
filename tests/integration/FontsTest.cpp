#include "integration/Fonts.h"

#include "FontFixture.h"
#include "common/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace fonttest;

namespace {

const std::vector<unsigned char> Placeholder{'o', 'l', 'd'};

std::wstring LogLine(const std::wstring& description) {
    return L"Шрифт <" + description + L"> уcтановлен";
}

std::wstring ValueName(const std::wstring& description) {
    return description + L" (TrueType)";
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

class FontsTest : public testing::Test {
protected:
    void SetUp() override { CopyFixtureFonts(Source.Path()); }

    // The test program's fonts folder and registry are shared by every test it runs.
    void TearDown() override {
        for (const TFixtureFont& font : FixtureFonts) {
            DeleteFileW((Fonts + font.FileName).c_str());
            DeleteFontsRegistryValue(ValueName(font.FullName));
        }
        DeleteFontsRegistryValue(ValueName(L""));
    }

    void Run() {
        InstallFonts(Source.Path(), Fonts, [this](const std::wstring& line) {
            Log.push_back(line);
            if (OnLog) {
                OnLog();
            }
        });
    }

    void PlaceInFonts(const std::wstring& fileName) {
        WriteFileBytes(Fonts + fileName, Placeholder);
    }

    void ExpectInstalled(const TFixtureFont& font) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(font.FileName)));
        EXPECT_EQ(ReadFileBytes(Fonts + font.FileName), ReadFileBytes(font.HostFile));
        EXPECT_EQ(FontsRegistryValue(ValueName(font.FullName)), std::wstring(font.FileName));
    }

    void ExpectUntouched(const TFixtureFont& font, bool present) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(font.FileName)));
        if (present) {
            EXPECT_EQ(ReadFileBytes(Fonts + font.FileName), Placeholder);
        } else {
            EXPECT_FALSE(FileExists(Fonts + font.FileName));
        }
        EXPECT_EQ(FontsRegistryValue(ValueName(font.FullName)), std::nullopt);
    }

    TTempFolder Source;
    const std::wstring Fonts = WindowsFontsFolder();
    std::vector<std::wstring> Log;
    std::function<void()> OnLog;
};

// Which files the Windows fonts folder holds before the run, in any case of spelling.
struct TPresence {
    const char* Name;
    std::vector<std::wstring> Present;
};

void PrintTo(const TPresence& presence, std::ostream* out) {
    *out << presence.Name;
}

class FontsPresenceTest : public FontsTest, public testing::WithParamInterface<TPresence> {};

TEST_P(FontsPresenceTest, InstallsExactlyTheMissingFontsUnderTheirFullNames) {
    const std::vector<std::wstring>& present = GetParam().Present;
    for (const std::wstring& name : present) {
        PlaceInFonts(name);
    }
    TFontChangeCounter broadcasts;
    Run();

    std::vector<std::wstring> expectedLog;
    for (const TFixtureFont& font : FixtureFonts) {
        const bool isPresent = std::any_of(present.begin(), present.end(), [&](const auto& name) {
            return SameName(name, font.FileName);
        });
        if (isPresent) {
            ExpectUntouched(font, true);
        } else {
            ExpectInstalled(font);
            expectedLog.push_back(LogLine(font.FullName));
        }
    }
    EXPECT_EQ(Log, expectedLog);
    EXPECT_EQ(broadcasts.Count(), 2 * static_cast<int>(expectedLog.size()));
}

INSTANTIATE_TEST_SUITE_P(Fonts, FontsPresenceTest,
                         testing::Values(TPresence{"NonePresent", {}},
                                         TPresence{"AllPresentSomeInOtherCase",
                                                   {L"arial.ttf", L"ARIALN.TTF", L"COUR.TTF",
                                                    L"MICROSS.TTF", L"TAHOMA.TTF", L"TIMES.TTF",
                                                    L"VERDANA.ttf"}},
                                         TPresence{"OnlyTahomaMissing",
                                                   {L"ARIAL.TTF", L"ARIALN.TTF", L"COUR.TTF",
                                                    L"MICROSS.TTF", L"TIMES.TTF", L"verdana.TTF"}}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(FontsTest, MissingSourceFontStopsTheRest) {
    DeleteFileW((Source.Path() + L"ARIALN.TTF").c_str());

    EXPECT_THROW(Run(), EError);

    ExpectInstalled(FixtureFonts[0]);
    EXPECT_EQ(Log, std::vector<std::wstring>{LogLine(FixtureFonts[0].FullName)});
    for (std::size_t i = 1; i < FixtureFonts.size(); ++i) {
        ExpectUntouched(FixtureFonts[i], false);
    }
}

// The key is opened, never created: without it the registration fails for real.
class TFontsKeyRestorer {
public:
    ~TFontsKeyRestorer() {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, FontsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr);
        RegCloseKey(key);
    }
};

TEST_F(FontsTest, RegistrationFailureLeavesTheFontCopiedButUnregisteredAndStops) {
    TFontsKeyRestorer restorer;
    OnLog = [this] {
        if (Log.size() == 2) {
            ASSERT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, FontsKey), ERROR_SUCCESS);
        }
    };

    try {
        Run();
        ADD_FAILURE() << "no error raised";
    } catch (const EError& e) {
        EXPECT_NE(e.Message().find(L"\"DejaVu Sans Mono (TrueType)\""), std::wstring::npos)
            << testing::PrintToString(e.Message());
    }

    EXPECT_EQ(Log, (std::vector<std::wstring>{LogLine(FixtureFonts[0].FullName),
                                              LogLine(FixtureFonts[1].FullName)}));
    EXPECT_EQ(ReadFileBytes(Fonts + L"COUR.TTF"), ReadFileBytes(FixtureFonts[2].HostFile));
    for (std::size_t i = 3; i < FixtureFonts.size(); ++i) {
        ExpectUntouched(FixtureFonts[i], false);
    }
}

// A file whose name cannot be read is still installed, under the bare " (TrueType)".
struct TUnreadable {
    const char* Name;
    std::vector<unsigned char> Bytes;
};

void PrintTo(const TUnreadable& unreadable, std::ostream* out) {
    *out << unreadable.Name;
}

class FontsUnreadableTest : public FontsTest, public testing::WithParamInterface<TUnreadable> {};

TEST_P(FontsUnreadableTest, RegistersAnEmptyDescription) {
    WriteFileBytes(Source.Path() + L"ARIAL.TTF", GetParam().Bytes);
    for (std::size_t i = 1; i < FixtureFonts.size(); ++i) {
        PlaceInFonts(FixtureFonts[i].FileName);
    }

    Run();

    EXPECT_EQ(ReadFileBytes(Fonts + L"ARIAL.TTF"), GetParam().Bytes);
    EXPECT_EQ(FontsRegistryValue(ValueName(L"")), L"ARIAL.TTF");
    EXPECT_EQ(Log, std::vector<std::wstring>{LogLine(L"")});
}

std::vector<unsigned char> TruncatedFont() {
    std::vector<unsigned char> bytes = ReadFileBytes(FixtureFonts[0].HostFile);
    bytes.resize(64 * 1024); // the table directory survives, the name table does not
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(Fonts, FontsUnreadableTest,
                         testing::Values(TUnreadable{"NoFont", {'n', 'o', ' ', 'f', 'o', 'n', 't'}},
                                         TUnreadable{"TruncatedFont", TruncatedFont()}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(FontsTest, FailedCopyIsRemovedAndNotRegisteredAndTheNextFontGoesOn) {
    for (std::size_t i = 0; i < FixtureFonts.size(); ++i) {
        if (i != 0 && i != 2) {
            PlaceInFonts(FixtureFonts[i].FileName);
        }
    }
    {
        // ARIAL.TTF (DejaVu Sans) is larger than the limit, COUR.TTF (DejaVu Sans Mono) is not.
        TFileSizeLimit diskFull(512 * 1024);
        if (!diskFull.Active()) {
            GTEST_SKIP() << "no way here to make a write fail halfway";
        }
        Run();
    }

    EXPECT_FALSE(FileExists(Fonts + L"ARIAL.TTF"));
    EXPECT_EQ(FontsRegistryValue(ValueName(FixtureFonts[0].FullName)), std::nullopt);
    EXPECT_EQ(FontsRegistryValue(ValueName(L"")), std::nullopt);
    ExpectInstalled(FixtureFonts[2]);
    EXPECT_EQ(Log, std::vector<std::wstring>{LogLine(FixtureFonts[2].FullName)});
}

TEST_F(FontsTest, TakesTheFontsBesideTheProgramIntoTheWindowsFontsFolder) {
    wchar_t program[MAX_PATH];
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring folder(program);
    TTempFolder shipped(folder.substr(0, folder.find_last_of(L'\\') + 1) + L"fonts\\");
    CopyFixtureFonts(shipped.Path());

    InstallFonts([this](const std::wstring& line) { Log.push_back(line); });

    EXPECT_EQ(Log.size(), FixtureFonts.size());
    for (const TFixtureFont& font : FixtureFonts) {
        ExpectInstalled(font);
    }
}

} // namespace
