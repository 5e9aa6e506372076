#include "install/SpaceCheck.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include "common/Handles.h"
#include "common/Paths.h"

#include <gtest/gtest.h>

namespace {

void Write(const TTempFolder& folder, const std::wstring& name, size_t size) {
    const std::wstring path = folder / name;
    for (size_t at = path.find(L'\\', folder.Path().size()); at != std::wstring::npos;
         at = path.find(L'\\', at + 1)) {
        CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    }
    WriteBytes(path, std::string(size, 'x'));
}

// A distribution and an earlier installation whose files the run replaces.
class SpaceCheckTest : public testing::Test {
protected:
    void SetUp() override {
        Write(Source, L"DTAfb\\R47.FDB", 1000);
        Write(Source, L"Firebird\\fbclient.Dll", 100);
        Write(Source, L"Firebird\\gbak.exe", 3); // list A only
        Write(Source, L"Firebird\\intl\\fbintl.dll", 10);
        Write(Source, L"UDF\\Compare.Dll", 5);
        Write(Source, L"backup\\R010203\\Install.cmd", 7);
        Write(Source, L"Updater\\Updater.exe", 20);
        Write(Source, L"FTDIDriverInstall\\sub\\driver.exe", 50);
        Write(Source, L"unrelated.txt", 100000);
        // The kept database is renamed, a replaced file moved aside: neither frees anything.
        Write(Target, L"DTAfb\\R47.FDB", 999);
        Write(Target, L"Updater.exe", 15);
        // The uninstaller is this program's copy, over the earlier one.
        Write(Target, L"Uninstall.exe", 30);
        WIN32_FILE_ATTRIBUTE_DATA program{};
        GetFileAttributesExW(ExecutablePath().c_str(), GetFileExInfoStandard, &program);
        Uninstaller = program.nFileSizeLow;
    }

    ULONGLONG Uninstaller = 0;

    TTempFolder Source;
    TTempFolder Target;
    TTempFolder Fonts;
};

// A file the run replaces frees nothing: it waits in the rollback folder until the end.
TEST_F(SpaceCheckTest, CountsWhatTheRunWritesWhateverItReplaces) {
    const struct {
        TPlanChoices Choices;
        ULONGLONG Bytes;
    } cases[] = {
        {{true, true, false}, 1000 + 100 + 3 + 10 + 5 + 7 + 20 + 50},
        {{true, false, false}, 1000 + 100 + 3 + 10 + 5 + 7 + 20},
        {{false, false, true}, 1000 + 100 + 10 + 5 + 7 + 20},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlanBytes(Source.Path(), Target.Path(), Fonts.Path(), c.Choices),
                  c.Bytes + Uninstaller)
            << c.Choices.ListA << c.Choices.InstallDriver;
    }
}

TEST_F(SpaceCheckTest, SaysWhenTheVolumeIsShortOfRoom) {
    EXPECT_EQ(FreeSpaceShortage(Source.Path(), Target.Path(), {true, true, false}), L"");
    // A database larger than any disk here, without taking its room: a file with a hole. With
    // the other files' bytes it needs a little over 4 TiB, rounded up to a tenth of a MiB.
    {
        TUniqueFile file(CreateFileW((Source / L"DTAfb\\R47.FDB").c_str(), GENERIC_WRITE, 0,
                                     nullptr, CREATE_ALWAYS, 0, nullptr));
        LARGE_INTEGER end;
        end.QuadPart = 1LL << 42; // 4 TiB
        ASSERT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) &&
                    SetEndOfFile(file.get()));
    }
    const std::wstring text = FreeSpaceShortage(Source.Path(), Target.Path(), {true, true, false});
    EXPECT_EQ(text.rfind(L"Недостаточно места на диске ", 0), 0u) << text;
    const ULONGLONG bytes = (1ULL << 42) + 195 + Uninstaller;
    const ULONGLONG tenths = (bytes * 10 + 1024 * 1024 - 1) / (1024 * 1024);
    wchar_t needed[64];
    swprintf(needed, 64, L"Нужно %llu.%llu МБ", tenths / 10, tenths % 10);
    EXPECT_NE(text.find(needed), std::wstring::npos) << text;
    // A target below folders still to be made is measured on the folder that exists. Others
    // write to the same disk meanwhile, so only the part up to the free figure must agree.
    const std::wstring deeper =
        FreeSpaceShortage(Source.Path(), Target / L"new\\deeper\\", {true, true, false});
    const size_t free = text.find(L"свободно");
    EXPECT_EQ(deeper.substr(0, free), text.substr(0, free));
}

TEST_F(SpaceCheckTest, ADriveThatIsNotThereIsNotHeldAgainstTheRun) {
    EXPECT_EQ(FreeSpaceShortage(Source.Path(), L"Q:\\nowhere\\Holter\\", {true, true, false}), L"");
    EXPECT_EQ(FreeSpaceShortage(Source.Path(), L"Q:\\", {true, true, false}), L"");
}

} // namespace
