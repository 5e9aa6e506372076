#include "support/DialogAnswerer.h"
#include "ui/Form.h"
#include "ui/Memo.h"
#include "ui/MessageDlg.h"
#include "ui/PageControl.h"
#include "ui/Panel.h"

#include <gtest/gtest.h>

#include <list>
#include <string>
#include <vector>

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

// Three pages whose controls are made on request, each recording when.
class TLaterPagesForm : public TPagesForm {
public:
    TLaterPagesForm() {
        Third.Create(Pages, L"Third");
        for (TTabSheet* page : {&First, &Second, &Third}) {
            page->OnCreateControls = [this, page] {
                Made.push_back(page->Name());
                TPanel& panel = Panels.emplace_back();
                panel.Create(*page, TPlace::Top(10));
            };
        }
    }
    TTabSheet Third;
    std::vector<std::wstring> Made;
    std::list<TPanel> Panels;
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

TEST(PageControl, PendingPagesAreMadeOneAtATimeInOrderAndOnce) {
    TLaterPagesForm form;
    EXPECT_TRUE(form.Made.empty());
    EXPECT_TRUE(form.Pages.CreatePendingPage());
    EXPECT_EQ(form.Made, std::vector<std::wstring>{L"First"});
    EXPECT_TRUE(form.Pages.CreatePendingPage());
    EXPECT_TRUE(form.Pages.CreatePendingPage());
    EXPECT_FALSE(form.Pages.CreatePendingPage());
    EXPECT_EQ(form.Made, (std::vector<std::wstring>{L"First", L"Second", L"Third"}));
    EXPECT_NE(GetWindow(form.Third.Handle(), GW_CHILD), nullptr);
}

TEST(PageControl, SelectingAPageNotYetMadeMakesEveryPageBeforeItShows) {
    TLaterPagesForm form;
    form.Show();
    std::vector<std::wstring> madeWhenShown;
    form.Second.OnShow = [&] { madeWhenShown = form.Made; };
    form.Pages.SetActivePage(form.Second);
    EXPECT_EQ(madeWhenShown, (std::vector<std::wstring>{L"First", L"Second", L"Third"}));
    EXPECT_FALSE(form.Pages.CreatePendingPage());
    form.Pages.SetActivePage(form.First);
    EXPECT_EQ(form.Made.size(), 3u);
    EXPECT_TRUE(IsWindowVisible(form.First.Handle()));
}

namespace {
class TAlignForm : public TForm {
public:
    TAlignForm() {
        CreateForm(L"TAlignForm", L"align", WS_OVERLAPPEDWINDOW, 0, 400, 300);
        Box.Create(*this, TPlace::At(0, 0, 200, 100));
        Box.SetPadding(2);
        Top.Create(Box, TPlace::Top(10));
        Hidden.Create(Box, TPlace::Top(7), TPanelBorder::pbNone, false);
        Bottom.Create(Box, TPlace::Bottom(20));
        Left.Create(Box, TPlace::Left(30));
        Right.Create(Box, TPlace::Right(40));
        Rest.Create(Box, TPlace::Client());
    }
    TPanel Box, Top, Hidden, Bottom, Left, Right, Rest;
};

void ExpectPlace(const TControl& control, RECT expected, const char* name) {
    const RECT r = control.Bounds();
    EXPECT_EQ(r.left, expected.left) << name;
    EXPECT_EQ(r.top, expected.top) << name;
    EXPECT_EQ(r.right, expected.right) << name;
    EXPECT_EQ(r.bottom, expected.bottom) << name;
}
} // namespace

// Aligned children take the edges in the order they were made, inside the padding; a hidden
// one takes nothing until it is shown, and a resize lays them out again.
TEST(Align, EdgesAreTakenInCreationOrder) {
    TAlignForm form;
    ExpectPlace(form.Top, {2, 2, 198, 12}, "top");
    ExpectPlace(form.Bottom, {2, 78, 198, 98}, "bottom");
    ExpectPlace(form.Left, {2, 12, 32, 78}, "left");
    ExpectPlace(form.Right, {158, 12, 198, 78}, "right");
    ExpectPlace(form.Rest, {32, 12, 158, 78}, "client");

    form.Box.SetBounds(0, 0, 300, 150);
    ExpectPlace(form.Bottom, {2, 128, 298, 148}, "bottom, resized");
    ExpectPlace(form.Right, {258, 12, 298, 128}, "right, resized");
    ExpectPlace(form.Rest, {32, 12, 258, 128}, "client, resized");

    form.Hidden.SetVisible(true);
    ExpectPlace(form.Hidden, {2, 12, 298, 19}, "shown");
    ExpectPlace(form.Left, {2, 19, 32, 128}, "left, below the shown one");
    ExpectPlace(form.Rest, {32, 19, 258, 128}, "client, below the shown one");
}

TEST(Form, ControlsAskingForTheSameFontShareIt) {
    TAlignForm form;
    const HFONT tahoma = form.MakeFont(L"Tahoma", 15);
    EXPECT_EQ(form.MakeFont(L"Tahoma", 15), tahoma);
    EXPECT_NE(form.MakeFont(L"Tahoma", 16), tahoma);
    EXPECT_NE(form.MakeFont(L"Tahoma", 15, true), tahoma);
    EXPECT_NE(form.MakeFont(L"Times New Roman", 15), tahoma);
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
