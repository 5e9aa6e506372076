#include "common/Errors.h"
#include "common/Paths.h"
#include "primitives/ProcessPrimitives.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {
// The small test program built beside this one.
std::wstring ExitCodeProgram() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return ExtractFilePath(self) + L"exitcode.exe";
}

// What the test program wrote: its current folder, then its command line.
std::pair<std::wstring, std::wstring> Report(const std::wstring& path) {
    const std::string bytes = ReadBytes(path);
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()),
                            bytes.size() / sizeof(wchar_t));
    const size_t eol = text.find(L'\n');
    if (eol == std::wstring::npos) {
        return {};
    }
    return {text.substr(0, eol), text.substr(eol + 1, text.size() - eol - 2)};
}

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

// Restores the process's current folder when the test ends.
class TCurrentDirectory {
public:
    explicit TCurrentDirectory(const std::wstring& folder) {
        GetCurrentDirectoryW(MAX_PATH, FSaved);
        SetCurrentDirectoryW(folder.c_str());
    }
    ~TCurrentDirectory() { SetCurrentDirectoryW(FSaved); }

private:
    wchar_t FSaved[MAX_PATH];
};
} // namespace

// Unquoted, "<folder>\my tools\exitcode.exe 7" would start the decoy "<folder>\my.exe",
// which answers 99 to the arguments it would get.
TEST(RunAndWait, StartsAProgramWhosePathHasABlankInItsOwnFolder) {
    TTempFolder f;
    CreateDirectoryW((f / L"my tools").c_str(), nullptr);
    const std::wstring program = f / L"my tools\\exitcode.exe";
    ASSERT_TRUE(CopyFileW(ExitCodeProgram().c_str(), program.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(ExitCodeProgram().c_str(), (f / L"my.exe").c_str(), FALSE));
    const std::wstring padding(2000, L'p'); // beyond any short fixed buffer

    EXPECT_EQ(RunAndWait(program, L"7 " + Quoted(f / L"out.txt") + L" " + padding, SW_HIDE), 7u);
    const auto [folder, commandLine] = Report(f / L"out.txt");
    EXPECT_EQ(folder, f / L"my tools");
    EXPECT_EQ(commandLine, Quoted(program) + L" 7 " + Quoted(f / L"out.txt") + L" " + padding);
}

TEST(RunAndWait, PassesBackTheExitCodeOfAScript) {
    TTempFolder f;
    CreateDirectoryW((f / L"R 150320").c_str(), nullptr);
    const std::wstring script = f / L"R 150320\\Install.cmd";
    WriteBytes(script, "@echo done> here.txt\r\n@exit 5\r\n");
    EXPECT_EQ(RunAndWait(script, L"", SW_HIDE), 5u);
    EXPECT_EQ(ReadBytes(f / L"R 150320\\here.txt"), "done\r\n");
}

TEST(RunAndWait, FailuresToStartRaise) {
    TTempFolder f;
    const std::wstring missing = f / L"none\\FTDIDriverInstall.exe";
    try {
        RunAndWait(missing, L"", SW_HIDE);
        ADD_FAILURE() << "no error raised";
    } catch (const EError& e) {
        EXPECT_EQ(e.Message(), L"Не смог создать процесс: " + missing);
    }
    EXPECT_THROW(RunAndWait(ExitCodeProgram(), std::wstring(32767, L'p'), SW_HIDE), EError);
}

TEST(RunInCurrentDirAndWait, RunsInTheCurrentFolderAndPassesBackTheExitCode) {
    TTempFolder f;
    // As the current folder reads back: without a trailing delimiter.
    const std::wstring folder = ExcludeTrailingPathDelimiter(f.Path());
    const TCurrentDirectory current(folder);
    const std::wstring commandLine = Quoted(ExitCodeProgram()) + L" 3 out.txt";
    EXPECT_EQ(RunInCurrentDirAndWait(commandLine, SW_HIDE, true), 3);
    EXPECT_EQ(Report(f / L"out.txt"), std::make_pair(folder, commandLine));
}

TEST(RunInCurrentDirAndWait, FailuresGiveMinusOne) {
    TTempFolder f;
    EXPECT_EQ(RunInCurrentDirAndWait(f / L"none.exe", SW_HIDE, true), -1);
    EXPECT_EQ(RunInCurrentDirAndWait(Quoted(ExitCodeProgram()) + L" 0 " + std::wstring(32767, L'p'),
                                     SW_HIDE, true),
              -1);
}
