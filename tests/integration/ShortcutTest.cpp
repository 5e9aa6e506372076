#include "common/Errors.h"
#include "common/Handles.h"
#include "integration/Shortcut.h"
#include "support/ShellLinkRead.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

namespace {

namespace fs = std::filesystem;

const wchar_t* const ShellFoldersKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const wchar_t* const GrpConvKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv";
const wchar_t* const MapGroupsKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups";

std::wstring ReadShellFolder(const wchar_t* name) {
    wchar_t value[MAX_PATH];
    DWORD bytes = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, ShellFoldersKey, name, RRF_RT_REG_SZ, nullptr, value,
                     &bytes) != ERROR_SUCCESS) {
        return {};
    }
    return value;
}

void WriteString(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, value.c_str(),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

class CreateShellLinkTest : public testing::Test {
protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        FRoot = fs::temp_directory_path() / L"shortcut-tests" / info->name();
        fs::remove_all(FRoot);
        fs::create_directories(FRoot / L"Holter");
        FTarget = (FRoot / L"Holter" / L"Shell.exe").wstring();
        CloseHandle(
            CreateFileW(FTarget.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    void TearDown() override { fs::remove_all(FRoot); }

    std::wstring Folder(const wchar_t* name) {
        fs::create_directories(FRoot / name);
        return (FRoot / name).wstring();
    }

    fs::path FRoot;
    std::wstring FTarget;
};

// The installer's own call: the desktop, names from the string table, no working directory.
TEST_F(CreateShellLinkTest, DesktopLinkAsTheInstallerMakesIt) {
    const std::wstring desktop = ReadShellFolder(L"Desktop");
    ASSERT_FALSE(desktop.empty());
    std::wstring linkFile;
    CreateShellLink(FTarget, TLinkLocation::llDesktop, L"", L"", L"", L"Сонтира", L"Сонтира",
                    linkFile);

    EXPECT_EQ(linkFile, desktop + L"\\Сонтира.lnk");
    ASSERT_TRUE(fs::exists(linkFile));
    const TLinkRead link = ReadShellLink(linkFile);
    EXPECT_EQ(link.Target, FTarget);
    EXPECT_EQ(link.Description, L"Сонтира");
    EXPECT_EQ(link.Arguments, L"");
    EXPECT_EQ(link.WorkingDir, (FRoot / L"Holter").wstring() + L"\\");
    fs::remove(linkFile);
}

TEST_F(CreateShellLinkTest, LinkFileNameRule) {
    struct TCase {
        const wchar_t* LinkName;
        const wchar_t* FileName;
    };
    const TCase cases[] = {
        {L"", L"Shell.lnk"},               // the target's own name
        {L"Suite 2.1", L"Suite 2.lnk"},    // the last dot starts the extension
        {L"Holter", L"Holter.lnk"},        // no extension: appended
        {L"old.d\\Suite", L"Suite.lnk"},   // a dot in a folder is no extension
        {L"old\\Suite.txt", L"Suite.lnk"}, // only the last component is kept
    };
    const std::wstring folder = Folder(L"links");
    for (const TCase& c : cases) {
        std::wstring linkFile;
        CreateShellLink(FTarget, TLinkLocation::llFolder, folder, L"", L"", L"", c.LinkName,
                        linkFile);
        EXPECT_EQ(linkFile, folder + L"\\" + c.FileName) << c.LinkName;
        EXPECT_TRUE(fs::exists(folder + L"\\" + c.FileName)) << c.LinkName;
    }
}

TEST_F(CreateShellLinkTest, GivenWorkingDirectoryAndArguments) {
    const std::wstring folder = Folder(L"links");
    std::wstring linkFile;
    CreateShellLink(FTarget, TLinkLocation::llFolder, folder, L"D:\\Data", L"/quiet \"a b\"",
                    L"Holter suite", L"Holter", linkFile);
    const TLinkRead link = ReadShellLink(linkFile);
    EXPECT_EQ(link.Target, FTarget);
    EXPECT_EQ(link.WorkingDir, L"D:\\Data");
    EXPECT_EQ(link.Arguments, L"/quiet \"a b\"");
    EXPECT_EQ(link.Description, L"Holter suite");
}

// Each shell folder kind reads its own registry value (pointed at folders of ours here).
TEST_F(CreateShellLinkTest, ShellFolderKinds) {
    struct TCase {
        TLinkLocation Location;
        const wchar_t* Key;
        const wchar_t* Value;
    };
    const TCase cases[] = {
        {TLinkLocation::llDesktop, ShellFoldersKey, L"Desktop"},
        {TLinkLocation::llQuickLaunch, MapGroupsKey, L"Quick Launch"},
        {TLinkLocation::llSendTo, ShellFoldersKey, L"SendTo"},
        {TLinkLocation::llStartMenu, ShellFoldersKey, L"Start Menu"},
    };
    for (const TCase& c : cases) {
        const std::wstring saved = ReadShellFolder(c.Value);
        const std::wstring folder = Folder(c.Value);
        WriteString(c.Key, c.Value, folder);
        std::wstring linkFile;
        CreateShellLink(FTarget, c.Location, L"", L"", L"", L"", L"", linkFile);
        EXPECT_EQ(linkFile, folder + L"\\Shell.lnk") << c.Value;
        EXPECT_TRUE(fs::exists(folder + L"\\Shell.lnk")) << c.Value;
        if (!saved.empty()) {
            WriteString(c.Key, c.Value, saved);
        }
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, GrpConvKey);
}

TEST_F(CreateShellLinkTest, SubFolderOfAShellFolder) {
    const std::wstring desktop = Folder(L"Desktop");
    const std::wstring saved = ReadShellFolder(L"Desktop");
    WriteString(ShellFoldersKey, L"Desktop", desktop);
    fs::create_directories(desktop + L"\\Tools");

    std::wstring existing, missing;
    CreateShellLink(FTarget, TLinkLocation::llDesktop, L"Tools", L"", L"", L"", L"", existing);
    CreateShellLink(FTarget, TLinkLocation::llDesktop, L"Absent", L"", L"", L"", L"", missing);
    WriteString(ShellFoldersKey, L"Desktop", saved);

    EXPECT_EQ(existing, desktop + L"\\Tools\\Shell.lnk");
    EXPECT_TRUE(fs::exists(existing));
    // Not created, and the failed save is silent; the path tried is still reported.
    EXPECT_EQ(missing, desktop + L"\\Absent\\Shell.lnk");
    EXPECT_FALSE(fs::exists(desktop + L"\\Absent"));
}

// No folder: nothing written, no error, the out value untouched.
TEST_F(CreateShellLinkTest, NoFolderWritesNothing) {
    RegDeleteTreeW(HKEY_CURRENT_USER, GrpConvKey);
    const TLinkLocation locations[] = {TLinkLocation::llQuickLaunch, TLinkLocation::llFolder,
                                       static_cast<TLinkLocation>(5),
                                       static_cast<TLinkLocation>(255)};
    for (TLinkLocation location : locations) {
        std::wstring linkFile = L"unchanged";
        EXPECT_NO_THROW(CreateShellLink(FTarget, location, L"", L"", L"", L"", L"", linkFile));
        EXPECT_EQ(linkFile, L"unchanged") << static_cast<int>(location);
    }
}

TEST_F(CreateShellLinkTest, NoLinkObjectRaises) {
    // A thread without COM cannot create the shell link object.
    bool raised = false;
    std::thread worker([&] {
        std::wstring linkFile;
        try {
            CreateShellLink(FTarget, TLinkLocation::llFolder, FRoot.wstring(), L"", L"", L"", L"",
                            linkFile);
        } catch (const EError&) {
            raised = true;
        }
    });
    worker.join();
    EXPECT_TRUE(raised);
    EXPECT_FALSE(fs::exists(FRoot / L"Shell.lnk"));
}

} // namespace
