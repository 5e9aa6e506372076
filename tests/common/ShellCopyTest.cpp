#include "common/ShellCopy.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {
// Files only: Wine's shell applies FOF_FILESONLY inside the copied folder too and leaves its
// subfolders behind, where Windows copies them.
void MakeSource(const TTempFolder& folder) {
    CreateDirectoryW((folder / L"src").c_str(), nullptr);
    WriteBytes(folder / L"src\\a.txt", "a");
    WriteBytes(folder / L"src\\b.txt", "b");
}
} // namespace

TEST(ShellCopyFolder, MissingTargetBecomesTheCopy) {
    TTempFolder folder;
    MakeSource(folder);
    EXPECT_TRUE(ShellCopyFolder(folder / L"src\\", folder / L"dst\\"));
    EXPECT_EQ(ReadBytes(folder / L"dst\\a.txt"), "a");
    EXPECT_EQ(ReadBytes(folder / L"dst\\b.txt"), "b");
}

TEST(ShellCopyFolder, ExistingTargetReceivesTheFolderByName) {
    TTempFolder folder;
    MakeSource(folder);
    CreateDirectoryW((folder / L"dst").c_str(), nullptr);
    EXPECT_TRUE(ShellCopyFolder(folder / L"src", folder / L"dst"));
    EXPECT_EQ(ReadBytes(folder / L"dst\\src\\a.txt"), "a");
    EXPECT_EQ(ReadBytes(folder / L"dst\\src\\b.txt"), "b");
}

TEST(ShellCopyFolder, MissingSourceFails) {
    TTempFolder folder;
    EXPECT_FALSE(ShellCopyFolder(folder / L"none", folder / L"dst"));
}
