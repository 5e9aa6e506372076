#include "common/Paths.h"
#include "common/WindowsFolder.h"

#include <gtest/gtest.h>

TEST(Paths, FolderOfAFile) {
    const struct {
        const wchar_t* Path;
        const wchar_t* Dir;
    } cases[] = {{L"C:\\Holter\\backup\\R1\\Install.cmd", L"C:\\Holter\\backup\\R1"},
                 {L"C:\\Install.cmd", L"C:\\"},
                 {L"\\\\server\\share\\x.exe", L"\\\\server\\share"},
                 {L"Install.cmd", L""}};
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractFileDir(c.Path), c.Dir) << c.Path;
    }
}

TEST(Paths, WindowsFolderEndsInDelimiter) {
    const std::wstring folder = GetWindowsFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'\\');
    EXPECT_TRUE(DirectoryExists(folder + L"system32"));
}
