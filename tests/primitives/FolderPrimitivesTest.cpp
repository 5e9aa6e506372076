#include "common/Errors.h"
#include "common/Handles.h"
#include "primitives/FilePrimitives.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {
void MakeFolder(const std::wstring& path, DWORD attributes = 0) {
    CreateDirectoryW(path.c_str(), nullptr);
    if (attributes != 0) {
        SetFileAttributesW(path.c_str(), attributes);
    }
}

// One attribute at a time, read-only last: Wine 10 drops "hidden" when it comes in one call
// with "read-only".
void MakeFile(const std::wstring& path, const std::string& bytes, DWORD attributes = 0) {
    WriteBytes(path, bytes);
    DWORD set = 0;
    for (DWORD bit : {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_READONLY}) {
        if (attributes & bit) {
            set |= bit;
            SetFileAttributesW(path.c_str(), set);
        }
    }
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ReadOnly(const std::wstring& path) {
    return (GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY) != 0;
}
} // namespace

TEST(CopyFolderTree, CopiesHiddenFilesButNotHiddenOrSystemFolders) {
    TTempFolder f;
    MakeFolder(f / L"src");
    MakeFile(f / L"src\\a.txt", "new a");
    MakeFile(f / L"src\\hidden.txt", "h", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(f / L"src\\system.txt", "s", FILE_ATTRIBUTE_SYSTEM);
    MakeFolder(f / L"src\\sub");
    MakeFile(f / L"src\\sub\\b.txt", "b");
    MakeFolder(f / L"src\\sub\\deeper");
    MakeFile(f / L"src\\sub\\deeper\\c.txt", "c");
    MakeFolder(f / L"src\\hid", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(f / L"src\\hid\\x.txt", "x");
    MakeFolder(f / L"src\\sys", FILE_ATTRIBUTE_SYSTEM);
    MakeFile(f / L"src\\sys\\y.txt", "y");
    MakeFolder(f / L"dst");
    MakeFile(f / L"dst\\a.txt", "old a, longer than the new one");
    MakeFile(f / L"dst\\extra.txt", "kept");

    CopyFolderTree(f / L"src", f / L"dst");
    EXPECT_EQ(ReadBytes(f / L"dst\\a.txt"), "new a");
    EXPECT_EQ(ReadBytes(f / L"dst\\hidden.txt"), "h");
    EXPECT_EQ(ReadBytes(f / L"dst\\system.txt"), "s");
    EXPECT_EQ(ReadBytes(f / L"dst\\sub\\b.txt"), "b");
    EXPECT_EQ(ReadBytes(f / L"dst\\sub\\deeper\\c.txt"), "c");
    EXPECT_EQ(ReadBytes(f / L"dst\\extra.txt"), "kept");
    EXPECT_FALSE(Exists(f / L"dst\\hid"));
    EXPECT_FALSE(Exists(f / L"dst\\sys"));
}

// Media such as a CD make every file read-only, and an earlier version left its copies so.
TEST(CopyFolderTree, LeavesNoCopyReadOnlyAndReplacesReadOnlyFiles) {
    TTempFolder f;
    MakeFolder(f / L"src");
    MakeFile(f / L"src\\Updater.exe", "new updater", FILE_ATTRIBUTE_READONLY);
    MakeFolder(f / L"src\\R150320");
    MakeFile(f / L"src\\R150320\\Install.cmd", "new script",
             FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    const DWORD hiddenReadOnly = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY;
    ASSERT_EQ(GetFileAttributesW((f / L"src\\R150320\\Install.cmd").c_str()) & hiddenReadOnly,
              hiddenReadOnly);
    MakeFolder(f / L"dst");
    MakeFile(f / L"dst\\Updater.exe", "old updater", FILE_ATTRIBUTE_READONLY);
    // What CopyFileW alone makes of the hidden read-only file: Windows and Wine 8 keep
    // "hidden", Wine 10 drops it.
    const std::wstring plain = f / L"plain-copy.cmd";
    ASSERT_TRUE(CopyFileW((f / L"src\\R150320\\Install.cmd").c_str(), plain.c_str(), FALSE));
    const DWORD plainHidden = GetFileAttributesW(plain.c_str()) & FILE_ATTRIBUTE_HIDDEN;

    EXPECT_TRUE(CopyFolderTree(f / L"src", f / L"dst").empty());
    EXPECT_EQ(ReadBytes(f / L"dst\\Updater.exe"), "new updater");
    EXPECT_EQ(ReadBytes(f / L"dst\\R150320\\Install.cmd"), "new script");
    EXPECT_FALSE(ReadOnly(f / L"dst\\Updater.exe"));
    EXPECT_FALSE(ReadOnly(f / L"dst\\R150320\\Install.cmd"));
    // Only read-only is taken away.
    EXPECT_EQ(GetFileAttributesW((f / L"dst\\R150320\\Install.cmd").c_str()) &
                  FILE_ATTRIBUTE_HIDDEN,
              plainHidden);
    EXPECT_TRUE(ReadOnly(f / L"src\\Updater.exe")) << "the source is left as it was";
}

// A file held open by another program, on either side, fails alone, named with the reason.
TEST(CopyFolderTree, GoesOnAfterAFailureAndSaysWhichAndWhy) {
    for (const wchar_t* held : {L"src\\b\\held.txt", L"dst\\b\\held.txt"}) {
        SCOPED_TRACE(testing::Message() << (held[0] == L's' ? "source" : "target") << " held");
        TTempFolder f;
        MakeFolder(f / L"src");
        MakeFile(f / L"src\\a.txt", "a");
        MakeFolder(f / L"src\\b");
        MakeFile(f / L"src\\b\\held.txt", "new");
        MakeFile(f / L"src\\b\\z.txt", "z");
        MakeFolder(f / L"src\\c");
        MakeFile(f / L"src\\c\\d.txt", "d");
        MakeFolder(f / L"dst");
        MakeFolder(f / L"dst\\b");
        MakeFile(f / L"dst\\b\\held.txt", "old");
        const TUniqueFile handle(
            CreateFileW((f / held).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(handle);

        const TCopyFailures failures = CopyFolderTree(f / L"src", f / L"dst");
        ASSERT_EQ(failures.size(), 1u);
        EXPECT_EQ(failures[0].Source, f / L"src\\b\\held.txt");
        EXPECT_EQ(failures[0].Target, f / L"dst\\b\\held.txt");
        EXPECT_EQ(failures[0].Reason, SysErrorMessage(ERROR_SHARING_VIOLATION));
        EXPECT_EQ(ReadBytes(f / L"dst\\a.txt"), "a");
        EXPECT_EQ(ReadBytes(f / L"dst\\b\\z.txt"), "z");
        EXPECT_EQ(ReadBytes(f / L"dst\\c\\d.txt"), "d");
    }
}

TEST(CopyFolderTree, MissingSourceLeavesEmptyTargetWithParents) {
    TTempFolder f;
    EXPECT_TRUE(CopyFolderTree(f / L"none", f / L"a\\b\\c").empty());
    EXPECT_TRUE(Exists(f / L"a\\b\\c"));
    std::vector<std::wstring> inside;
    ListSubfolders(f / L"a\\b\\c\\", inside);
    EXPECT_TRUE(inside.empty());
}

// The updater lands in the installation folder given with its trailing delimiter.
TEST(CopyFolderTree, TargetWithTrailingDelimiter) {
    TTempFolder f;
    MakeFolder(f / L"Updater");
    MakeFile(f / L"Updater\\Updater.exe.cfg", "cfg");
    MakeFolder(f / L"Holter");
    CopyFolderTree(f / L"Updater", f / L"Holter\\");
    EXPECT_EQ(ReadBytes(f / L"Holter\\Updater.exe.cfg"), "cfg");
}

TEST(ListSubfolders, SkipsHiddenSystemAndWithOutAnswerAndAppends) {
    TTempFolder f;
    const std::wstring backup = f / L"backup\\";
    MakeFolder(backup);
    MakeFolder(backup + L"R150320");
    MakeFolder(backup + L"WithOutAnswer");
    MakeFolder(backup + L"R010121", FILE_ATTRIBUTE_HIDDEN);
    MakeFolder(backup + L"R020121", FILE_ATTRIBUTE_SYSTEM);
    MakeFile(backup + L"R030121", "a plain file");
    // Names differing in case only cannot share a folder on Windows.
    const std::wstring other = f / L"other\\";
    MakeFolder(other);
    MakeFolder(other + L"withoutanswer");

    std::vector<std::wstring> list = {L"earlier"};
    ListSubfolders(backup, list);
    ListSubfolders(other, list);
    ListSubfolders(f / L"none\\", list);
    const std::vector<std::wstring> expected = {L"earlier", backup + L"R150320",
                                                other + L"withoutanswer"};
    EXPECT_EQ(list, expected);
}

TEST(SetReadOnlyAttribute, ChangesOnlyTheReadOnlyBit) {
    TTempFolder f;
    const std::wstring file = f / L"ReleaseInfo";
    MakeFile(file, "x", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);

    SetReadOnlyAttribute(file, false);
    EXPECT_EQ(GetFileAttributesW(file.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(TUniqueFile(
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)));

    SetReadOnlyAttribute(file, true);
    EXPECT_EQ(GetFileAttributesW(file.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));

    EXPECT_NO_THROW(SetReadOnlyAttribute(f / L"none", true)); // a missing file is passed over
}
