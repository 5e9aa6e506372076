#include "WizardFixture.h"

namespace {
bool QuitPosted() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

// The ways a person asks a window to close: the close message, the title bar's close box or
// the system menu, and Alt+F4.
void RequestClose(HWND wnd, int way) {
    switch (way) {
    case 0:
        SendMessageW(wnd, WM_CLOSE, 0, 0);
        break;
    case 1:
        SendMessageW(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    default:
        SendMessageW(wnd, WM_SYSKEYDOWN, VK_F4, 1 << 29);
        Application.ProcessMessages();
        break;
    }
}
} // namespace

TEST_F(WizardTest, CancelAnsweredNoChangesNothingAndYesShowsCancelPage) {
    TDialogAnswerer answerer;
    answerer.Press(IDNO).Press(IDYES);
    Form->SetCanClose(false); // Yes must make the window closable again
    Click(L"Отмена");
    EXPECT_EQ(VisiblePages(), std::vector<std::wstring>{L"tsStart"});
    EXPECT_FALSE(Form->CanClose());
    Click(L"Отмена");
    EXPECT_EQ(VisiblePages(), std::vector<std::wstring>{L"tsCancel"});
    EXPECT_TRUE(Form->CanClose());

    ASSERT_EQ(answerer.Seen().size(), 2u);
    EXPECT_EQ(answerer.Seen()[0].Text, L"Вы уверены, что хотите отменить процесс установки?");
    EXPECT_EQ(answerer.Seen()[0].Caption, L"Подтверждение");
    EXPECT_EQ(answerer.Seen()[0].Icon, UINT(MB_ICONQUESTION));
}

TEST_F(WizardTest, ExitOnCancelPageEndsTheProgram) {
    Application.SetMainForm(Form.get());
    TDialogAnswerer answerer;
    answerer.Press(IDYES);
    Click(L"Далее");
    Click(L"Отмена");
    Click(L"Выход");
    EXPECT_FALSE(IsWindow(Form->Handle()));
    EXPECT_TRUE(QuitPosted());
}

TEST_F(WizardTest, CloseRequestsAreRefusedSilentlyWhileBusy) {
    TDialogAnswerer answerer;
    Form->SetCanClose(false);
    for (int way = 0; way < 3; ++way) {
        RequestClose(Form->Handle(), way);
        EXPECT_TRUE(IsWindowVisible(Form->Handle())) << way;
    }
    Application.ProcessMessages();
    EXPECT_TRUE(answerer.Seen().empty());
    EXPECT_FALSE(QuitPosted());
}

TEST_F(WizardTest, CloseRequestEndsTheProgramAtOnceWhenAllowed) {
    for (int way = 0; way < 3; ++way) {
        SetUp();
        Application.SetMainForm(Form.get());
        RequestClose(Form->Handle(), way);
        EXPECT_EQ(Form->Handle(), nullptr) << way;
        EXPECT_TRUE(QuitPosted()) << way;
    }
}
