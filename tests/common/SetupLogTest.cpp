#include "common/Errors.h"
#include "common/Failure.h"
#include "common/SetupLog.h"
#include "common/Utf8.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

// The file as a reader sees it while the log still writes into it.
std::string ReadShared(const std::wstring& path) {
    TUniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes(4096, '\0');
    DWORD read = 0;
    EXPECT_TRUE(file && ReadFile(file.get(), bytes.data(), 4096, &read, nullptr)) << "readable";
    bytes.resize(read);
    return bytes;
}

// The lines of a log file without their time stamps; fails on a line without one.
std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    const std::regex stamped(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}  (.*))");
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string line = bytes.substr(start, end - start);
        std::smatch match;
        EXPECT_TRUE(std::regex_match(line, match, stamped)) << line;
        lines.push_back(match.size() > 1 ? match[1].str() : line);
    }
    EXPECT_EQ(start, bytes.size()) << "the file ends inside a line";
    return lines;
}

TEST(SetupLogTest, WritesUtf8LinesWithStampsAndCrLf) {
    TTempFolder folder;
    TSetupLog log;
    log.Open(folder / L"журнал.log", L"unused");
    ASSERT_TRUE(log.IsOpen());
    log.Write(L"Каталог создан...");
    log.Write(L"Внимание!\r Если\r\nдве\nстроки\n");
    // Each line reaches the file at once: it can be read while the log is still open.
    const std::string bytes = ReadShared(folder / L"журнал.log");
    ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    const std::vector<std::string> expected = {"Каталог создан...", "Внимание!", " Если", "две",
                                               "строки"};
    EXPECT_EQ(Lines(bytes.substr(3)), expected);
}

TEST(SetupLogTest, DefaultFilesOfOneSecondDoNotCollide) {
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    TSetupLog first;
    TSetupLog second;
    first.Open(L"", L"SetupLogTest");
    second.Open(L"", L"SetupLogTest");
    ASSERT_TRUE(first.IsOpen() && second.IsOpen());
    EXPECT_NE(first.Path(), second.Path());
    EXPECT_EQ(first.Path().rfind(temp, 0), 0u) << "in the temporary folder";
    EXPECT_TRUE(std::regex_match(first.Path().substr(wcslen(temp)),
                                 std::wregex(LR"(SetupLogTest-\d{8}-\d{6}(-\d+)?\.log)")));
    const std::wstring paths[] = {first.Path(), second.Path()};
    first.Close();
    second.Close();
    for (const auto& path : paths) {
        DeleteFileW(path.c_str());
    }
}

TEST(SetupLogTest, AnUnwritableLogIsDroppedQuietly) {
    TSetupLog log;
    log.Open(L"Q:\\no such drive\\x.log", L"unused");
    EXPECT_FALSE(log.IsOpen());
    EXPECT_TRUE(log.Path().empty());
    log.Write(L"nothing happens"); // and nothing breaks
}

} // namespace

// A failed step reaches the process's log with what was done, to what, the system's reason
// and where in the code; a caller that raises gives the user its own text.
TEST(FailureTest, LogsStepPathReasonAndPlace) {
    TTempFolder folder;
    SetupLog().Open(folder / L"failure.log", L"unused");
    const int line = __LINE__ + 1;
    EXPECT_FALSE(LogFailure(Failure(L"Удаление файла", L"C:\\x.dll", ERROR_ACCESS_DENIED)));
    try {
        RaiseFailure(Failure(L"Шаг", L"", 0), L"Текст для пользователя");
        ADD_FAILURE() << "nothing raised";
    } catch (const EError& e) {
        EXPECT_EQ(e.Message(), L"Текст для пользователя");
    }
    const std::wstring path = SetupLog().Path();
    SetupLog().Close();
    const std::vector<std::string> lines = Lines(ReadShared(path).substr(3));
    ASSERT_EQ(lines.size(), 2u);
    const std::string denied = ToUtf8(SysErrorMessage(ERROR_ACCESS_DENIED));
    EXPECT_EQ(lines[0].rfind("Сбой: Удаление файла: C:\\x.dll: " + denied + " (", 0), 0u)
        << lines[0];
    EXPECT_TRUE(lines[0].ends_with("SetupLogTest.cpp:" + std::to_string(line) + ")")) << lines[0];
    EXPECT_TRUE(lines[1].starts_with("Сбой: Шаг (")) << lines[1];
}
