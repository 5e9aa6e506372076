#include "integration/CreateNSI.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {
const std::string EmptyTable(840, '\0');

// A time well in the past, so that any rewrite would show.
void Age(const std::wstring& path) {
    SetLastWriteTime(path, {0x5A3C8000, 0x01D0A000});
}
} // namespace

TEST(CreateReferenceFiles, NeitherPresentGivesTwoEmptyTables) {
    TTempFolder folder;
    CreateReferenceFiles(folder.Path());
    EXPECT_EQ(ReadBytes(folder / L"uca.nsi"), EmptyTable);
    EXPECT_EQ(ReadBytes(folder / L"wra.nsi"), EmptyTable);
}

TEST(CreateReferenceFiles, PresentFilesAreNeverTouched) {
    TTempFolder folder;
    WriteBytes(folder / L"wra.nsi", "five!");
    Age(folder / L"wra.nsi");
    const FILETIME before = LastWriteTime(folder / L"wra.nsi");

    CreateReferenceFiles(folder.Path());
    EXPECT_EQ(ReadBytes(folder / L"uca.nsi"), EmptyTable);
    EXPECT_EQ(ReadBytes(folder / L"wra.nsi"), "five!");

    Age(folder / L"uca.nsi");
    const FILETIME ucaBefore = LastWriteTime(folder / L"uca.nsi");
    CreateReferenceFiles(folder.Path());
    EXPECT_EQ(Ticks(LastWriteTime(folder / L"uca.nsi")), Ticks(ucaBefore));
    EXPECT_EQ(Ticks(LastWriteTime(folder / L"wra.nsi")), Ticks(before));
    EXPECT_EQ(ReadBytes(folder / L"wra.nsi"), "five!");
}

TEST(CreateReferenceFiles, MissingFolderIsCreatedOneLevelOnly) {
    TTempFolder folder;
    CreateReferenceFiles(folder / L"Settings\\");
    EXPECT_EQ(ReadBytes(folder / L"Settings\\uca.nsi"), EmptyTable);
    EXPECT_EQ(ReadBytes(folder / L"Settings\\wra.nsi"), EmptyTable);

    CreateReferenceFiles(folder / L"a\\b\\"); // nothing reported, nothing made
    EXPECT_EQ(GetFileAttributesW((folder / L"a").c_str()), INVALID_FILE_ATTRIBUTES);
}
