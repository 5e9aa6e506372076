#include "ui/Application.h"
#include "ui/Form.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {
// A main form whose idle work records what had happened before each piece, then ends the loop.
class TIdleForm : public TForm {
public:
    TIdleForm() { CreateForm(L"TIdleForm", L"idle", WS_OVERLAPPEDWINDOW, 0, 300, 200); }
    bool Idle() override {
        Pieces.push_back({GetUpdateRect(Handle(), nullptr, FALSE) != FALSE, Posted});
        if (Pieces.size() == 1) {
            PostMessageW(Handle(), WM_APP, 0, 0); // arrives between two pieces
        }
        if (Pieces.size() == 3) {
            DestroyWindow(Handle());
            return false;
        }
        return true;
    }
    struct TPiece {
        bool PaintPending;
        int PostedSeen;
    };
    std::vector<TPiece> Pieces;
    int Posted = 0;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_APP) {
            ++Posted;
            return 0;
        }
        return TForm::WndProc(message, wParam, lParam);
    }
};

// What the main form had gone through when a form made in the idle turn was made.
struct TLaterMade {
    bool Made = false;
    bool MainShown = false;
    bool MainPaintPending = true;
    size_t MainIdlePieces = 0;
} LaterMade;
TIdleForm* LaterMain = nullptr;

class TLaterForm : public TForm {
public:
    TLaterForm() {
        CreateForm(L"TLaterForm", L"later", WS_OVERLAPPEDWINDOW, 0, 100, 100);
        LaterMade = {true, IsWindowVisible(LaterMain->Handle()) != FALSE,
                     GetUpdateRect(LaterMain->Handle(), nullptr, FALSE) != FALSE,
                     LaterMain->Pieces.size()};
    }
};
} // namespace

TEST(ApplicationRun, IdleWorkComesAfterThePaintAndMessagesGoFirst) {
    TIdleForm form;
    Application.SetMainForm(&form);
    PostMessageW(form.Handle(), WM_APP, 0, 0);
    const int result = Application.Run();
    Application.SetMainForm(nullptr); // before any assertion can leave the test
    EXPECT_EQ(result, 0);
    ASSERT_EQ(form.Pieces.size(), 3u);
    EXPECT_FALSE(form.Pieces[0].PaintPending);
    EXPECT_EQ(form.Pieces[0].PostedSeen, 1);
    EXPECT_EQ(form.Pieces[1].PostedSeen, 2);
}

TEST(ApplicationRun, AFormMadeWhenIdleComesAfterThePaintAndBeforeTheMainFormsIdleWork) {
    std::thread([] {
        const TApplicationScope application;
        LaterMain = &Application.CreateForm<TIdleForm>();
        Application.CreateFormWhenIdle<TLaterForm>();
        Application.Run();
    }).join();
    EXPECT_TRUE(LaterMade.Made);
    EXPECT_TRUE(LaterMade.MainShown);
    EXPECT_FALSE(LaterMade.MainPaintPending);
    EXPECT_EQ(LaterMade.MainIdlePieces, 0u);
}

// The application's scope ends its windows and then COM, on the thread that made them: a
// thread of its own here, so that the test's own COM apartment plays no part.
TEST(ApplicationScope, LeavingItDestroysTheFormsAndReleasesCom) {
    HWND made = nullptr;
    bool windowAtEnd = true;
    HRESULT afterwards = E_FAIL;
    std::thread([&] {
        {
            const TApplicationScope application;
            made = Application.CreateForm<TIdleForm>().Handle();
        }
        windowAtEnd = IsWindow(made) != FALSE;
        // Fails with RPC_E_CHANGED_MODE while the single-threaded apartment is still there.
        afterwards = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(afterwards)) {
            CoUninitialize();
        }
    }).join();
    EXPECT_NE(made, nullptr);
    EXPECT_FALSE(windowAtEnd);
    EXPECT_EQ(afterwards, S_OK);
    EXPECT_EQ(Application.MainForm(), nullptr);
}
