#include "windows/MessageForm.h"

#include "common/Errors.h"

#include "support/DialogAnswerer.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {
TFMessageform& FormOf(HWND wnd) {
    auto* form = dynamic_cast<TFMessageform*>(TForm::FromHandle(wnd));
    if (form == nullptr) {
        throw std::logic_error("not a TFMessageform");
    }
    return *form;
}

bool NoMessageWindowLeft() {
    return FindWindowW(L"TFMessageform", nullptr) == nullptr;
}
} // namespace

struct TResultCase {
    TMessageType Type;
    int Seconds;
    const wchar_t* Button; // empty: nobody answers
    bool Expected;
};

class TimedMessageResult : public testing::TestWithParam<TResultCase> {};

TEST_P(TimedMessageResult, TellsWhetherOkWasPressed) {
    const TResultCase& c = GetParam();
    TDialogAnswerer answerer;
    if (*c.Button != L'\0') {
        answerer.PressTimed(c.Button);
    } else {
        answerer.LetExpire();
    }
    const DWORD start = GetTickCount();
    EXPECT_EQ(ShowTimedMessage(L"Проверка", c.Type, L"Заголовок", c.Seconds), c.Expected);
    EXPECT_EQ(answerer.Unanswered(), 0u);
    EXPECT_EQ(answerer.Unexpected(), 0);
    EXPECT_TRUE(NoMessageWindowLeft());
    if (*c.Button == L'\0') {
        EXPECT_GE(GetTickCount() - start, 900u); // closed by the countdown, not earlier
    }
}

INSTANTIATE_TEST_SUITE_P(Closing, TimedMessageResult,
                         testing::Values(TResultCase{mtDialog, 0, L"OK", true},
                                         TResultCase{mtMessage, 0, L"OK", true},
                                         TResultCase{mtDialog, 0, L"Отмена", false},
                                         TResultCase{mtDialog, 1, L"", false},
                                         TResultCase{mtMessage, 1, L"", false}));

TEST(TimedMessage, MessageTypeShowsOnlyOk) {
    TDialogAnswerer answerer;
    bool cancelShown = true;
    bool okShown = false;
    answerer.PressTimed(L"OK", [&](HWND wnd) {
        cancelShown = FindVisibleChild(wnd, L"BUTTON", L"Отмена") != nullptr;
        okShown = FindVisibleChild(wnd, L"BUTTON", L"OK") != nullptr;
    });
    EXPECT_TRUE(ShowTimedMessage(L"Сообщение", mtMessage, L"", 0));
    EXPECT_FALSE(cancelShown);
    EXPECT_TRUE(okShown);
}

TEST(TimedMessage, CountdownArgumentSetsTheStopInterval) {
    const std::pair<int, UINT> cases[] = {{0, 20000}, {60, 60000}, {2147483, 2147483000u}};
    for (const auto& [seconds, interval] : cases) {
        TDialogAnswerer answerer;
        UINT seen = 0;
        answerer.PressTimed(L"OK", [&](HWND wnd) { seen = FormOf(wnd).StopTimer.Interval(); });
        ShowTimedMessage(L"Интервал", mtMessage, L"", seconds);
        EXPECT_EQ(seen, interval) << seconds;
    }
}

TEST(TimedMessage, BadCountdownRaisesAndLeavesNoWindow) {
    EXPECT_THROW(ShowTimedMessage(L"x", mtMessage, L"", -1), ERangeError);
    EXPECT_TRUE(NoMessageWindowLeft());
    EXPECT_THROW(ShowTimedMessage(L"x", mtMessage, L"", 2147484), EOverflowError);
    EXPECT_TRUE(NoMessageWindowLeft());
}

TEST(TimedMessage, CountdownLineTicksAndStopKeepsTheWindowOpen) {
    TDialogAnswerer answerer;
    std::wstring before, ticking;
    bool lineShownAfterStop = true;
    bool timerAfterStop = true;
    answerer.PressTimed(L"остановить", [&](HWND wnd) { before = FormOf(wnd).lblSec.Text(); });
    // Two seconds after "остановить" the window is still there, past its 2-second countdown.
    answerer.PressTimed(
        L"OK",
        [&](HWND wnd) {
            lineShownAfterStop = IsWindowVisible(FormOf(wnd).pnlClose.Handle()) != FALSE;
            timerAfterStop = FormOf(wnd).StopTimer.Enabled();
        },
        2500);
    EXPECT_TRUE(ShowTimedMessage(L"Стоп", mtDialog, L"", 2));
    EXPECT_EQ(before, L"  сек");
    EXPECT_FALSE(lineShownAfterStop);
    EXPECT_FALSE(timerAfterStop);

    TDialogAnswerer second;
    second.PressTimed(
        L"OK", [&](HWND wnd) { ticking = FormOf(wnd).lblSec.Text(); }, 1300);
    ShowTimedMessage(L"Отсчёт", mtMessage, L"", 3);
    EXPECT_EQ(ticking, L"  2с");
}

// The close box is neither OK nor Cancel, and gives false, also once the countdown is stopped.
TEST(TimedMessage, CloseBoxGivesFalse) {
    for (const bool stopFirst : {false, true}) {
        SCOPED_TRACE(stopFirst ? "after остановить" : "while counting down");
        TDialogAnswerer answerer;
        if (stopFirst) {
            answerer.PressTimed(L"остановить");
        }
        answerer.LetExpire([](HWND wnd) { PostMessageW(wnd, WM_SYSCOMMAND, SC_CLOSE, 0); });
        EXPECT_FALSE(ShowTimedMessage(L"Закрытие", mtDialog, L"", 20));
        EXPECT_EQ(answerer.Unanswered(), 0u);
        EXPECT_EQ(answerer.Unexpected(), 0);
        EXPECT_TRUE(NoMessageWindowLeft());
    }
}

TEST(TimedMessage, WindowPlacement) {
    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    const int screenH = GetSystemMetrics(SM_CYSCREEN);
    struct TLook {
        RECT Window{}, Client{};
        bool Topmost = false;
        std::wstring Caption;
    };
    auto look = [](const std::wstring& text) {
        TLook result;
        TDialogAnswerer answerer;
        answerer.PressTimed(L"OK", [&](HWND wnd) {
            GetWindowRect(wnd, &result.Window);
            GetClientRect(wnd, &result.Client);
            result.Topmost = (GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
            result.Caption = WindowText(wnd);
        });
        ShowTimedMessage(text, mtMessage, L"", 0);
        return result;
    };
    const TLook small = look(L"Одна строка");
    EXPECT_EQ(small.Client.right, 446);
    EXPECT_EQ(small.Window.bottom, screenH / 2);
    EXPECT_EQ(small.Window.left, (screenW - (small.Window.right - small.Window.left)) / 2);
    EXPECT_TRUE(small.Topmost);
    EXPECT_EQ(small.Caption, L"");

    std::wstring longText;
    for (int i = 0; i < 40; ++i) {
        longText += L"Длинное сообщение переносится по словам. ";
    }
    const TLook tall = look(longText);
    EXPECT_GT(tall.Window.bottom - tall.Window.top, small.Window.bottom - small.Window.top + 50);
    EXPECT_EQ(tall.Window.bottom, screenH / 2);
}
