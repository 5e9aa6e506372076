#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

// Answers the modal windows that the code under test opens on this thread while it sits in
// their nested loops: the platform's message boxes ("#32770", answered by button id) and our
// timed message window (answered by button caption, or left to expire). A thread timer looks
// for them, so the production code calls the real MessageBoxW.
class TDialogAnswerer {
public:
    struct TSeen {
        std::wstring ClassName;
        std::wstring Caption;
        std::wstring Text; // a message box's control 0xFFFF; the timed window's message
        UINT Icon = 0;     // MB_ICONERROR, MB_ICONWARNING, MB_ICONQUESTION or 0
    };
    using TInspect = std::function<void(HWND)>;

    TDialogAnswerer();
    ~TDialogAnswerer();
    TDialogAnswerer(const TDialogAnswerer&) = delete;
    TDialogAnswerer& operator=(const TDialogAnswerer&) = delete;

    // The next message box gets this button (IDOK, IDYES, IDNO ...); inspect runs first, with
    // the box.
    TDialogAnswerer& Press(int buttonId, TInspect inspect = {});
    // The next timed message window gets the button with this caption ("OK", "Отмена",
    // "остановить"); inspect runs first, with the window.
    // afterMs: not before this long after the previous answer, nor after the window showed
    // (a slow machine may show it well after the answerer started).
    TDialogAnswerer& PressTimed(const std::wstring& caption, TInspect inspect = {},
                                DWORD afterMs = 0);
    // The next timed message window is only recorded and left to close by itself.
    TDialogAnswerer& LetExpire(TInspect inspect = {});

    const std::vector<TSeen>& Seen() const noexcept { return FSeen; }
    size_t Unanswered() const noexcept { return FScript.size(); }
    // Windows that appeared with no answer scripted for them (closed so that tests go on).
    int Unexpected() const noexcept { return FUnexpected; }

private:
    struct TAnswer {
        bool TimedWindow = false;
        int ButtonId = 0;
        std::wstring Caption; // empty: let it expire
        TInspect Inspect;
        DWORD AfterMs = 0;
    };
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) noexcept;
    static BOOL CALLBACK Visit(HWND wnd, LPARAM self);
    void Handle(HWND wnd);

    std::deque<TAnswer> FScript;
    std::vector<TSeen> FSeen;
    std::vector<HWND> FHandled;
    int FUnexpected = 0;
    DWORD FLastAnswer = 0;
    std::map<HWND, DWORD> FFirstSeen; // when each window was first seen, for afterMs
    UINT_PTR FTimer = 0;
};

// Sends a click to the visible "BUTTON" with this caption among the window's descendants;
// false when there is none.
bool ClickButton(HWND root, const std::wstring& caption);
// The visible descendant of this class and caption, or null.
HWND FindVisibleChild(HWND root, const wchar_t* className, const std::wstring& text);
std::wstring WindowText(HWND wnd);
