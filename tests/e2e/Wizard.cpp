#include "Wizard.h"

#include "Automation.h"
#include "Report.h"
#include "Scenario.h"
#include "Unattended.h"
#include "Wait.h"

namespace e2e {
namespace {

constexpr wchar_t PageClass[] = L"TTabSheet";
constexpr wchar_t MessageBoxClass[] = L"#32770";
constexpr wchar_t TimedMessageClass[] = L"TFMessageform";
constexpr int MessageBoxTextId = 0xFFFF;

TMessageBox ReadMessageBox(HWND box) {
    return {box, TextOf(GetDlgItem(box, MessageBoxTextId))};
}

void WaitGone(HWND window, const std::wstring& what) {
    WaitFor(what + L" to close", [&] { return !IsWindow(window) || !IsWindowVisible(window); });
}

} // namespace

TWizard::TWizard(const TContext& context, const std::wstring& distributionFolder,
                 const std::wstring& arguments, std::wstring* startBox)
    : FContext(context) {
    TStarted started = StartInstaller(distributionFolder, arguments);
    FProcess.Handle = std::move(started.Process);
    FProcess.Id = started.Id;
    FMain = WaitFor(
        L"the main window (class TFMain)",
        [&]() -> HWND {
            if (!FProcess.Running()) {
                Fail(L"Install.exe ended before it showed its window" + Describe());
            }
            HWND box = startBox ? FindTopLevel(FProcess.Id, MessageBoxClass) : nullptr;
            if (box != nullptr && FindTopLevel(FProcess.Id, MainClass) == nullptr) {
                *startBox = ReadMessageBox(box).Text;
                PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
                WaitGone(box, L"the message box \"" + Visible(*startBox) + L"\"");
            }
            return FindTopLevel(FProcess.Id, MainClass);
        },
        [&] { return Describe(); });
    const std::wstring caption = TextOf(FMain);
    if (caption != MainCaption) {
        Fail(L"main window caption is \"" + caption + L"\", expected \"" + MainCaption + L"\"");
    }
}

TWizard::~TWizard() {
    if (FProcess.Running()) {
        FContext.FailureShot();
    }
}

TWizard::TProcess::~TProcess() {
    if (Running()) {
        TerminateProcess(Handle.get(), 1);
        WaitForSingleObject(Handle.get(), 5000);
    }
}

bool TWizard::TProcess::Running() const {
    return Handle && WaitForSingleObject(Handle.get(), 0) == WAIT_TIMEOUT;
}

void TWizard::FailOnMessageBox(const std::wstring& waitingFor) const {
    if (HWND box = FindTopLevel(FProcess.Id, MessageBoxClass)) {
        Fail(L"a message box opened while waiting for " + waitingFor + L": \"" +
             Visible(ReadMessageBox(box).Text) + L"\"" + Describe());
    }
}

HWND TWizard::Page() const {
    return FindVisibleDescendant(FMain, PageClass);
}

std::wstring TWizard::VisiblePage() const {
    std::wstring names;
    for (HWND page : VisibleDescendants(FMain, PageClass)) {
        names += (names.empty() ? L"" : L"+") + TextOf(page);
    }
    return names;
}

void TWizard::WaitPage(const std::wstring& page) const {
    WaitFor(
        L"page " + page,
        [&] {
            FailOnMessageBox(L"page " + page);
            return VisiblePage() == page;
        },
        [&] { return Describe(); });
}

HWND TWizard::Control(const wchar_t* className, const wchar_t* caption) const {
    HWND page = Page();
    HWND control = page ? FindVisibleDescendant(page, className, caption) : nullptr;
    if (control == nullptr) {
        Fail(L"no visible " + std::wstring(className) +
             (caption ? L" \"" + std::wstring(caption) + L"\"" : L"") + L" on the visible page" +
             Describe());
    }
    return control;
}

HWND TWizard::Field() const {
    HWND page = Page();
    for (HWND edit : page ? VisibleDescendants(page, L"EDIT") : std::vector<HWND>{}) {
        if ((GetWindowLongW(edit, GWL_STYLE) & ES_MULTILINE) == 0) {
            return edit;
        }
    }
    Fail(L"no visible single-line EDIT on the visible page" + Describe());
}

void TWizard::Press(const wchar_t* caption) const {
    HWND button = Control(L"BUTTON", caption);
    if (!IsWindowEnabled(button)) {
        Fail(L"button \"" + std::wstring(caption) + L"\" is disabled" + Describe());
    }
    Click(button, FMain);
}

HWND TWizard::Focus() const {
    return FocusOf(FMain);
}

void TWizard::Key(UINT key) const {
    PressKey(FMain, key, FMain);
}

void TWizard::CheckFocus(TContext& context, const wchar_t* className, const wchar_t* caption,
                         const std::wstring& where) const {
    // The page shows a moment before its control takes the focus: a short wait.
    const auto focused = [&](HWND focus) {
        return focus != nullptr && lstrcmpiW(ClassOf(focus).c_str(), className) == 0 &&
               (caption == nullptr || TextOf(focus) == caption);
    };
    HWND focus = Focus();
    for (ULONGLONG end = GetTickCount64() + 5000; !focused(focus) && GetTickCount64() < end;) {
        Sleep(PollIntervalMs);
        focus = Focus();
    }
    const std::wstring found =
        focus != nullptr ? ClassOf(focus) + L" \"" + TextOf(focus) + L"\"" : L"no window";
    const bool ok = focused(focus);
    context.Check(ok, L"focus " + where + L" is on " + found + L", expected " + className +
                          (caption != nullptr ? L" \"" + std::wstring(caption) + L"\"" : L""));
}

HWND TWizard::PageNamed(const std::wstring& page) const {
    const auto found = AllDescendants(FMain, PageClass, page.c_str());
    if (found.empty()) {
        Fail(L"the wizard has no page " + page + Describe());
    }
    return found.front();
}

std::vector<std::wstring> TWizard::LogLines() const {
    const auto lists = AllDescendants(PageNamed(L"tsProgressInstall"), L"LISTBOX");
    if (lists.size() != 1) {
        Fail(L"the progress page holds " + std::to_wstring(lists.size()) +
             L" list boxes, expected the one log list" + Describe());
    }
    return ListBoxLines(lists.front());
}

bool TWizard::ButtonEnabled(const std::wstring& page, const wchar_t* caption) const {
    const auto buttons = AllDescendants(PageNamed(page), L"BUTTON", caption);
    if (buttons.empty()) {
        Fail(L"no button \"" + std::wstring(caption) + L"\" on the page " + page + Describe());
    }
    return IsWindowEnabled(buttons.front()) != FALSE;
}

TMessageBox TWizard::OpenMessageBox() const {
    HWND box = FindTopLevel(FProcess.Id, MessageBoxClass);
    return box ? ReadMessageBox(box) : TMessageBox{};
}

TMessageBox TWizard::WaitMessageBox() const {
    HWND box = WaitFor(
        L"a message box", [&] { return FindTopLevel(FProcess.Id, MessageBoxClass); },
        [&] { return Describe(); });
    return ReadMessageBox(box);
}

void TWizard::Answer(const TMessageBox& box, int buttonId) const {
    HWND button = GetDlgItem(box.Window, buttonId);
    if (button == nullptr) {
        Fail(L"the message box \"" + Visible(box.Text) + L"\" has no button with id " +
             std::to_wstring(buttonId));
    }
    Click(button, FMain);
    WaitGone(box.Window, L"the message box \"" + Visible(box.Text) + L"\"");
}

HWND TWizard::WaitTimedMessage() const {
    return WaitFor(
        L"the timed message window (class TFMessageform)",
        [&] {
            FailOnMessageBox(L"the timed message window");
            return FindTopLevel(FProcess.Id, TimedMessageClass);
        },
        [&] { return Describe(); });
}

std::wstring TWizard::TimedMessageText(HWND window) const {
    std::wstring text;
    for (HWND label : VisibleDescendants(window, L"STATIC")) {
        text += (text.empty() ? L"" : L"\n") + TextOf(label);
    }
    return text;
}

void TWizard::CloseTimedMessage(HWND window) const {
    HWND ok = FindVisibleDescendant(window, L"BUTTON", L"OK");
    if (ok == nullptr) {
        Fail(L"the timed message window has no button \"OK\"" + Describe());
    }
    Click(ok, FMain);
    WaitGone(window, L"the timed message window");
}

DWORD TWizard::WaitExit(DWORD timeoutMs) const {
    if (WaitForSingleObject(FProcess.Handle.get(), timeoutMs) != WAIT_OBJECT_0) {
        Fail(L"Install.exe did not end within " + std::to_wstring(timeoutMs / 1000) + L" s" +
             Describe());
    }
    DWORD code = 0;
    GetExitCodeProcess(FProcess.Handle.get(), &code);
    return code;
}

std::wstring TWizard::Describe() const {
    if (!FProcess.Running()) {
        DWORD code = 0;
        GetExitCodeProcess(FProcess.Handle.get(), &code);
        return L"\n    Install.exe has ended, exit code " + std::to_wstring(code);
    }
    std::wstring state = L"\n    visible page: " + (FMain ? VisiblePage() : L"(no main window)");
    for (HWND box : TopLevelWindows(FProcess.Id, MessageBoxClass)) {
        state += L"\n    message box: \"" + Visible(ReadMessageBox(box).Text) + L"\"";
    }
    for (HWND window : TopLevelWindows(FProcess.Id, TimedMessageClass)) {
        state += L"\n    timed message: \"" + Visible(TimedMessageText(window)) + L"\"";
    }
    return state;
}

} // namespace e2e
