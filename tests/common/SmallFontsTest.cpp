#include "common/Handles.h"
#include "common/SmallFonts.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

const wchar_t* const ReportVariable = L"SMALL_FONTS_REPORT";

// The screen's pixels per inch are fixed when a process starts, so each setting is read by
// a child: this test program started again with only this test, which writes what it sees.
TEST(SmallFontsChild, Report) {
    wchar_t report[MAX_PATH];
    if (GetEnvironmentVariableW(ReportVariable, report, MAX_PATH) == 0) {
        GTEST_SKIP() << "runs only as the child of IsSmallFontsMode.ByLogPixels";
    }
    const TWindowDC screen(nullptr);
    std::ofstream(report) << GetDeviceCaps(screen.get(), LOGPIXELSX) << ' '
                          << (IsSmallFontsMode() ? "small" : "large");
}

std::wstring ThisProgram() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

void SetLogPixels(DWORD value) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD,
                              &value, sizeof(value)),
              ERROR_SUCCESS);
}

std::string RunChild(const std::wstring& report) {
    DeleteFileW(report.c_str());
    std::wstring commandLine = L"\"" + ThisProgram() + L"\" --gtest_filter=SmallFontsChild.Report";
    // The child's own test report would only clutter ours.
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    const TUniqueFile nul(
        CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = nul.get();
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return "child did not start";
    }
    const TUniqueHandle processHandle(process.hProcess), threadHandle(process.hThread);
    WaitForSingleObject(process.hProcess, 60000);
    std::string dpi, mode;
    std::ifstream(report.c_str()) >> dpi >> mode;
    return dpi + " " + mode;
}

TEST(IsSmallFontsMode, ByLogPixels) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring report = std::wstring(temp) + L"small-fonts-report.txt";
    SetEnvironmentVariableW(ReportVariable, report.c_str());

    const struct {
        DWORD LogPixels;
        const char* Expected;
    } cases[] = {{96, "96 small"},
                 {99, "99 small"},
                 {100, "100 large"},
                 {120, "120 large"},
                 {144, "144 large"}};
    for (const auto& c : cases) {
        SetLogPixels(c.LogPixels);
        EXPECT_EQ(RunChild(report), c.Expected);
    }
    SetLogPixels(96);
    SetEnvironmentVariableW(ReportVariable, nullptr);
    DeleteFileW(report.c_str());
}

} // namespace
