// How a completed run ends on a large-fonts screen: the closing question.
#include "InstallRunFixture.h"

#include "common/Handles.h"
#include "ui/Application.h"

using namespace runtest;

namespace {

const wchar_t* const ChildVariable = L"INSTALL_RUN_LARGE_FONTS_CHILD";
const wchar_t* const FinalQuestion = L"Установка завершена. Выйти из программы установки?";

// The screen's pixels per inch are fixed when a process starts, so these cases run in a
// child: this test program started again with only them, after the setting is changed.
bool InChild() {
    return GetEnvironmentVariableW(ChildVariable, nullptr, 0) != 0;
}

void SetLogPixels(DWORD value) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD,
                              &value, sizeof value),
              ERROR_SUCCESS);
}

DWORD RunChild(const wchar_t* filter) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine =
        L"\"" + std::wstring(self) + L"\" --gtest_brief=1 --gtest_filter=" + filter;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return DWORD(-1);
    }
    const TUniqueHandle processHandle(process.hProcess), threadHandle(process.hThread);
    WaitForSingleObject(process.hProcess, 120000);
    DWORD exitCode = DWORD(-1);
    GetExitCodeProcess(process.hProcess, &exitCode);
    return exitCode;
}

} // namespace

TEST_F(InstallRunTest, LargeFontsEndAsksWhetherToLeave) {
    if (!InChild()) {
        GTEST_SKIP() << "runs in the child of InstallRunLargeFonts.AtLogPixels120";
    }
    for (int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
        if (answer == IDYES) {
            Restart();
        }
        OpenOptions(Target);
        Application.SetMainForm(Form.get());
        TDialogAnswerer answerer;
        answerer.Press(answer);
        Install(answerer);

        ASSERT_EQ(answerer.Seen().size(), 1u);
        EXPECT_EQ(answerer.Seen()[0].Text, FinalQuestion);
        EXPECT_EQ(answerer.Seen()[0].Icon, UINT(MB_ICONQUESTION));
        EXPECT_TRUE(FileExists(DesktopLink()));
        if (answer == IDYES) {
            EXPECT_EQ(Form->Handle(), nullptr);
            continue;
        }
        EXPECT_EQ(VisiblePages(), std::vector<std::wstring>{L"tsProgressInstall"});
        ASSERT_TRUE(ExitEnabled());
        ASSERT_TRUE(ClickButton(Form->Handle(), L"Выход"));
        EXPECT_EQ(Form->Handle(), nullptr);
    }
}

TEST(InstallRunLargeFonts, AtLogPixels120) {
    if (InChild()) {
        GTEST_SKIP() << "the child runs the cases themselves";
    }
    SetLogPixels(120);
    SetEnvironmentVariableW(ChildVariable, L"1");
    EXPECT_EQ(RunChild(L"InstallRunTest.LargeFontsEndAsksWhetherToLeave"), 0u);
    SetEnvironmentVariableW(ChildVariable, nullptr);
    SetLogPixels(96);
}
