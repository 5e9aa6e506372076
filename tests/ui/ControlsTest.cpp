#include "support/DialogAnswerer.h"
#include "ui/Form.h"
#include "ui/Memo.h"
#include "ui/MessageDlg.h"
#include "ui/PageControl.h"

#include <gtest/gtest.h>

namespace {
class TPagesForm : public TForm {
public:
    TPagesForm() {
        CreateForm(L"TPagesForm", L"pages", WS_OVERLAPPEDWINDOW, 0, 400, 300);
        Pages.Create(*this, TPlace::At(10, 10, 300, 200));
        First.Create(Pages, L"First");
        Second.Create(Pages, L"Second");
    }
    TPageControl Pages;
    TTabSheet First;
    TTabSheet Second;
};
} // namespace

TEST(PageControl, OnlyTheSelectedPageShowsAndItsShowEventRunsEachTime) {
    TPagesForm form;
    form.Show();
    int secondShown = 0;
    form.Second.OnShow = [&] { ++secondShown; };
    form.Pages.SetActivePage(form.Second);
    form.Pages.SetActivePage(form.First);
    EXPECT_TRUE(IsWindowVisible(form.First.Handle()));
    EXPECT_FALSE(IsWindowVisible(form.Second.Handle()));
    form.Pages.SetActivePage(form.Second);
    EXPECT_EQ(secondShown, 2);
    EXPECT_EQ(form.Second.Text(), L"Second");
    const RECT page = form.Second.Bounds();
    EXPECT_EQ(page.right - page.left, 300);
    EXPECT_EQ(page.bottom - page.top, 200);
}

TEST(Memo, LinesAreJoinedByCrLf) {
    EXPECT_EQ(TMemo::JoinLines({L"a ", L"", L"b"}), L"a \r\n\r\nb");
    EXPECT_EQ(TMemo::JoinLines({L""}), L"");
}

TEST(MessageBoxes, CaptionsIconsAndAnswers) {
    TDialogAnswerer answerer;
    answerer.Press(IDOK).Press(IDOK).Press(IDYES).Press(IDNO);
    ShowErrorBox(nullptr, L"e");
    ShowWarningBox(nullptr, L"w");
    EXPECT_TRUE(AskConfirmation(nullptr, L"c"));
    EXPECT_FALSE(AskConfirmation(nullptr, L"c"));
    ASSERT_EQ(answerer.Seen().size(), 4u);
    EXPECT_EQ(answerer.Seen()[0].Caption, L"Ошибка");
    EXPECT_EQ(answerer.Seen()[0].Icon, UINT(MB_ICONERROR));
    EXPECT_EQ(answerer.Seen()[1].Caption, L"Предупреждение");
    EXPECT_EQ(answerer.Seen()[1].Icon, UINT(MB_ICONWARNING));
    EXPECT_EQ(answerer.Seen()[2].Caption, L"Подтверждение");
    EXPECT_EQ(answerer.Seen()[2].Icon, UINT(MB_ICONQUESTION));
}
