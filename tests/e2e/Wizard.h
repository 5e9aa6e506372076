#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "common/Handles.h"

namespace e2e {

class TContext;

// A message box of the platform ("#32770") with its text (control 0xFFFF).
struct TMessageBox {
    HWND Window = nullptr;
    std::wstring Text;
};

// The setup program, started from a distribution folder and driven through its windows as
// they are described to automation: the main window "TFMain", one visible "TTabSheet" page
// named by its window text, buttons found by caption under the visible page, message boxes,
// and the timed message window "TFMessageform". A wizard still running when its owner goes
// away is photographed for the failure report and terminated, so a failed scenario leaves
// nothing behind.
class TWizard {
public:
    static constexpr const wchar_t* MainClass = L"TFMain";
    static constexpr const wchar_t* MainCaption = L"Установка комплекса";

    // Starts Install.exe of the folder with these arguments and waits for its main window. A
    // message box shown before it (a start that undid an interrupted installation) is read into
    // *startBox and answered OK; without startBox, the start then times out.
    TWizard(const TContext& context, const std::wstring& distributionFolder,
            const std::wstring& arguments = L"", std::wstring* startBox = nullptr);
    TWizard(const TWizard&) = delete;
    TWizard& operator=(const TWizard&) = delete;
    ~TWizard();

    HWND Main() const { return FMain; }
    DWORD ProcessId() const { return FProcess.Id; }

    // The name of the visible page; several names joined by "+" when more than one shows.
    std::wstring VisiblePage() const;
    // Waits until the page shows; fails at once if a message box opens instead.
    void WaitPage(const std::wstring& page) const;

    // A visible control on the visible page.
    HWND Control(const wchar_t* className, const wchar_t* caption = nullptr) const;
    // The single-line EDIT on the visible page (the memos are multi-line EDITs).
    HWND Field() const;
    // Clicks the enabled button of that caption on the visible page.
    void Press(const wchar_t* caption) const;

    // The window with the keyboard focus in the wizard's thread (GetGUIThreadInfo), and a key
    // pressed there, as a person types it.
    HWND Focus() const;
    void Key(UINT key) const;
    // Fails unless the focus is on the control of that class and caption (a null caption: any),
    // with what the wizard shows otherwise.
    void CheckFocus(TContext& context, const wchar_t* className, const wchar_t* caption,
                    const std::wstring& where) const;

    // A page by name, selected or not.
    HWND PageNamed(const std::wstring& page) const;
    // The lines of the log list on the progress page, also when another page is selected.
    std::vector<std::wstring> LogLines() const;
    // Whether the button of that caption on the named page is enabled, selected page or not.
    bool ButtonEnabled(const std::wstring& page, const wchar_t* caption) const;

    // The message box showing now; no window when there is none.
    TMessageBox OpenMessageBox() const;
    TMessageBox WaitMessageBox() const;
    // Clicks the box's button with that id (IDOK, IDYES, IDNO) and waits until it is gone.
    void Answer(const TMessageBox& box, int buttonId) const;

    HWND WaitTimedMessage() const;
    // The texts of the timed message window's STATIC children, joined by line breaks.
    std::wstring TimedMessageText(HWND window) const;
    // Clicks its "OK" and waits until it is gone.
    void CloseTimedMessage(HWND window) const;

    // Waits for the program to end and gives its exit code.
    DWORD WaitExit(DWORD timeoutMs) const;

    // What the wizard shows right now, for failure messages.
    std::wstring Describe() const;

private:
    // Owns the started process; ends it if it still runs, also when the start-up itself fails.
    class TProcess {
    public:
        TUniqueHandle Handle;
        DWORD Id = 0;
        TProcess() = default;
        TProcess(const TProcess&) = delete;
        TProcess& operator=(const TProcess&) = delete;
        ~TProcess();
        bool Running() const;
    };

    const TContext& FContext;
    TProcess FProcess;
    HWND FMain = nullptr;

    HWND Page() const;
    // Fails at once when a message box shows while the scenario waits for something else.
    void FailOnMessageBox(const std::wstring& waitingFor) const;
};

} // namespace e2e
