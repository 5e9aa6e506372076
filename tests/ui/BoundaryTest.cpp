#include "common/Errors.h"
#include "support/DialogAnswerer.h"
#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/Form.h"
#include "ui/Timer.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {
const wchar_t kTitle[] = L"Установка комплекса \"Сонтира\"";

class TTestForm : public TForm {
public:
    TTestForm() : Tick(*this, 30) {
        CreateForm(L"TTestForm", L"test", WS_OVERLAPPEDWINDOW, 0, 300, 200);
        Btn.Create(*this, TPlace::At(10, 10, 80, 24), L"Go");
    }
    TButton Btn;
    TTimer Tick;
};

void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        Application.ProcessMessages();
        Sleep(10);
    }
}
} // namespace

TEST(ErrorReport, AddsAFullStopOnlyAfterCharactersAboveIt) {
    Application.Title = kTitle;
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"Сбой", L"Сбой."}, {L"Done.", L"Done."}, {L"Stop!", L"Stop!"},
        {L"x ,", L"x ,"},    {L"1", L"1."},        {L"", L""}};
    for (const auto& [message, shown] : cases) {
        TDialogAnswerer answerer;
        answerer.Press(IDOK);
        Application.ShowException(message);
        ASSERT_EQ(answerer.Seen().size(), 1u);
        EXPECT_EQ(answerer.Seen()[0].Text, shown);
        EXPECT_EQ(answerer.Seen()[0].Caption, kTitle);
        EXPECT_EQ(answerer.Seen()[0].Icon, UINT(MB_ICONERROR));
    }
}

// An exception thrown by a handler never unwinds through Windows: it is reported and the
// program goes on.
TEST(ErrorReport, HandlersAndTimersReportTheirExceptions) {
    Application.Title = kTitle;
    TTestForm form;
    form.Show();
    TDialogAnswerer answerer;
    answerer.Press(IDOK).Press(IDOK).Press(IDOK);

    form.Btn.OnClick = [] { throw EError(L"Нет файла"); };
    SendMessageW(form.Btn.Handle(), BM_CLICK, 0, 0);
    form.Btn.OnClick = [] { throw std::runtime_error("bad state"); };
    SendMessageW(form.Btn.Handle(), BM_CLICK, 0, 0);
    form.Tick.OnTimer = [&] {
        form.Tick.SetEnabled(false);
        throw EError(L"Таймер");
    };
    form.Tick.SetEnabled(true);
    PumpFor(300);

    ASSERT_EQ(answerer.Seen().size(), 3u);
    EXPECT_EQ(answerer.Seen()[0].Text, L"Нет файла.");
    EXPECT_EQ(answerer.Seen()[1].Text, L"bad state.");
    EXPECT_EQ(answerer.Seen()[2].Text, L"Таймер.");
    EXPECT_EQ(answerer.Unexpected(), 0);
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
}

namespace {
class TFailingPaintForm : public TTestForm {
public:
    bool Fail = false;
    int Painted = 0;
    void Paint(HDC) override {
        ++Painted;
        if (Fail) {
            throw EError(L"Рисование");
        }
    }
    void Redraw() { RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }
};
} // namespace

// A paint or a tick that fails again while its report is shown (the report's box runs a
// message loop) is not reported a second time; afterwards the window paints as before.
TEST(ErrorReport, PaintsAndTicksAreReportedOnceAfterTheMessage) {
    Application.Title = kTitle;
    TFailingPaintForm form;
    form.Show();
    UpdateWindow(form.Handle());
    const struct {
        const char* Name;
        std::function<void()> Start;
        const wchar_t* Shown;
    } cases[] = {
        {"paint",
         [&] {
             form.Fail = true;
             form.Redraw();
         },
         L"Рисование."},
        {"tick",
         [&] {
             form.Tick.OnTimer = [] { throw EError(L"Таймер"); };
             form.Tick.SetEnabled(true);
             PumpFor(300);
         },
         L"Таймер."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        int paintedUnderTheBox = 0;
        TDialogAnswerer answerer;
        answerer.Press(IDOK, [&](HWND) {
            // Under the box: the failing paint once more, and the timer's ticks go on. Nothing
            // fails once the box is answered, so a second box can only come from under it.
            const int before = form.Painted;
            form.Redraw();
            paintedUnderTheBox = form.Painted - before;
            PumpFor(100);
            form.Fail = false;
            form.Tick.SetEnabled(false);
        });
        c.Start();
        ASSERT_EQ(answerer.Seen().size(), 1u);
        EXPECT_EQ(answerer.Seen()[0].Text, c.Shown);
        EXPECT_EQ(answerer.Unexpected(), 0);
        EXPECT_EQ(paintedUnderTheBox, 1);
    }
    const int before = form.Painted;
    form.Redraw();
    EXPECT_EQ(form.Painted, before + 1);
}

TEST(Modal, DisablesTheThreadsOtherWindowsUntilItCloses) {
    TTestForm owner;
    owner.Show();
    TTestForm dialog;
    bool ownerEnabledDuring = true;
    dialog.Tick.OnTimer = [&] {
        ownerEnabledDuring = IsWindowEnabled(owner.Handle()) != FALSE;
        dialog.SetModalResult(mrOk);
    };
    dialog.Tick.SetEnabled(true);
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_FALSE(ownerEnabledDuring);
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    EXPECT_FALSE(IsWindowVisible(dialog.Handle()));
}
