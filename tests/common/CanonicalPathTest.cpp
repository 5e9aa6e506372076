#include "common/CanonicalPath.h"
#include "common/Paths.h"
#include "common/WindowsFolder.h"

#include <gtest/gtest.h>

#include <cwctype>

TEST(CanonicalPath, EverySpellingOfAFolderIsOneFolder) {
    const struct {
        const wchar_t* Given;
        const wchar_t* Canonical; // empty: no folder
    } cases[] = {
        {L"C:\\Holter", L"C:\\Holter\\"},
        {L"C:/Holter/", L"C:\\Holter\\"},
        {L"C:\\\\Holter\\\\", L"C:\\Holter\\"},
        {L"C:\\Holter\\.\\x\\..", L"C:\\Holter\\"},
        {L"C:\\Holter.", L"C:\\Holter\\"},
        {L"C:\\Holter  \\", L"C:\\Holter\\"},
        {L"C:\\Holter. .\\Сонтира 8", L"C:\\Holter\\Сонтира 8\\"},
        {L"\\\\?\\C:\\Holter", L"C:\\Holter\\"},
        {L"\\\\server\\share\\Holter", L"\\\\server\\share\\Holter\\"},
        // The root of drive C:, however it is written.
        {L"C:", L"C:\\"},
        {L"C:\\\\", L"C:\\"},
        {L"C:\\.", L"C:\\"},
        {L"C:/", L"C:\\"},
        {L"C:\\Holter\\..", L"C:\\"},
        {L"\\\\?\\C:\\", L"C:\\"},
        // Devices, streams, names of nothing but dots: no folder at all.
        {L"C:\\Holter\\NUL", L""},
        {L"C:\\Holter\\com1.txt", L""},
        {L"C:\\Holter\\data:stream", L""},
        {L"C:\\Holter\\. .\\x", L""},
        {L"\\\\.\\C:\\Holter", L""},
        {L"", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CanonicalFolder(c.Given), c.Canonical) << c.Given;
    }
    EXPECT_EQ(CanonicalFile(L"C:/Holter/./Uninstall.exe"), L"C:\\Holter\\Uninstall.exe");
}

TEST(CanonicalPath, RootsSystemFoldersAndBelow) {
    for (const wchar_t* root : {L"C:\\", L"\\\\server\\share\\"}) {
        EXPECT_TRUE(IsRootFolder(root)) << root;
    }
    EXPECT_FALSE(IsRootFolder(L"C:\\Holter\\"));

    std::wstring windows = CanonicalFolder(GetWindowsFolder());
    EXPECT_TRUE(IsSystemFolder(windows));
    EXPECT_TRUE(IsSystemFolder(windows + L"System32\\"));
    for (wchar_t& c : windows) {
        c = static_cast<wchar_t>(std::towupper(c));
    }
    EXPECT_TRUE(IsSystemFolder(windows)) << "case does not matter";
    EXPECT_FALSE(IsSystemFolder(windows + L"Holter\\"));
    EXPECT_FALSE(IsSystemFolder(L"C:\\Holter\\"));

    EXPECT_TRUE(IsBelow(L"C:\\HOLTER\\udf\\fbudf.dll", L"C:\\Holter\\"));
    EXPECT_FALSE(IsBelow(L"C:\\Holter2\\udf\\fbudf.dll", L"C:\\Holter\\"));
    EXPECT_FALSE(IsBelow(L"C:\\Holter\\", L"C:\\Holter\\"));
}

TEST(CanonicalPath, PlainNames) {
    for (const wchar_t* name : {L"R47.FDB", L"Сонтира 8", L"COM10", L"console", L"nul2.txt"}) {
        EXPECT_TRUE(IsPlainName(name)) << name;
    }
    for (const wchar_t* name :
         {L"", L".", L"..", L"DTAfb.", L"Settings ", L"a:b", L"a/b", L"a\\b", L"CON", L"nul.txt",
          L"Nul .txt", L"COM1", L"lpt9.log", L"CONIN$", L"a?b", L"a\tb"}) {
        EXPECT_FALSE(IsPlainName(name)) << name;
    }
}
