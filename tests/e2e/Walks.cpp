#include "Walks.h"

#include "Automation.h"
#include "Report.h"
#include "Scenario.h"
#include "Wizard.h"

namespace e2e {
namespace {

constexpr wchar_t DefaultPath[] = L"C:\\Holter";
constexpr wchar_t DriverWarningEnd[] = L"снимите галочку установки драйвера!";
constexpr wchar_t CancelQuestion[] = L"Вы уверены, что хотите отменить процесс установки?";
constexpr DWORD ExitTimeoutMs = 20000;

// What a person sees whole at 96 and at 120 dpi: the window at its size, the information panel
// without a scroll bar, the countdown line of the driver warning inside the window, and the
// check box's caption not cut at its right edge (the last columns show only the page).
void CheckMainLayout(TWizard& wizard, TContext& context) {
    RECT client{};
    GetClientRect(wizard.Main(), &client);
    context.Check(client.right == 954 && client.bottom == 579,
                  L"client area " + std::to_wstring(client.right) + L" by " +
                      std::to_wstring(client.bottom) + L", expected 954 by 579");
    HWND panel = FindVisibleDescendant(wizard.Main(), L"RICHEDIT50W");
    context.Check(panel != nullptr && (GetWindowLongW(panel, GWL_STYLE) & WS_VSCROLL) == 0,
                  L"the information panel shows its text without a scroll bar");
}

void CheckCountdownLine(HWND warning, TContext& context) {
    RECT client{};
    GetClientRect(warning, &client);
    for (const wchar_t* caption : {L"остановить", L"Окно закроется через"}) {
        HWND control =
            FindVisibleDescendant(warning, caption[0] == L'о' ? L"BUTTON" : L"STATIC", caption);
        RECT r{};
        if (control != nullptr) {
            GetWindowRect(control, &r);
            MapWindowPoints(HWND_DESKTOP, warning, reinterpret_cast<POINT*>(&r), 2);
        }
        context.Check(control != nullptr && r.bottom <= client.bottom && r.top >= 0,
                      L"\"" + std::wstring(caption) + L"\" lies inside the driver warning");
    }
}

bool PlainRightEdge(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    HDC screen = GetDC(nullptr);
    const COLORREF page = GetPixel(screen, r.right - 1, r.top);
    bool plain = true;
    for (int x = r.right - 3; x < r.right && plain; ++x) {
        for (int y = r.top; y < r.bottom && plain; ++y) {
            plain = GetPixel(screen, x, y) == page;
        }
    }
    ReleaseDC(nullptr, screen);
    return plain;
}

} // namespace

void WalkToOptions(TWizard& wizard, TContext& context, const std::wstring& path) {
    wizard.WaitPage(L"tsStart");
    CheckMainLayout(wizard, context);
    context.Shot(L"01-welcome", wizard);
    wizard.Press(L"Далее");

    wizard.WaitPage(L"tsInputPath");
    HWND edit = wizard.Field();
    context.CheckEqual(TextOf(edit), DefaultPath, L"path field at first");
    context.Shot(L"02-path", wizard);
    if (!path.empty()) {
        SetText(edit, path);
    }
    wizard.Press(L"Далее");

    // The warning is modal: the options page may become visible only once it is closed.
    HWND warning = wizard.WaitTimedMessage();
    const std::wstring text = wizard.TimedMessageText(warning);
    context.Check(text.find(DriverWarningEnd) != std::wstring::npos,
                  L"driver warning reads \"" + Visible(text) + L"\"");
    CheckCountdownLine(warning, context);
    context.Shot(L"03-driver-warning", wizard);
    wizard.CloseTimedMessage(warning);
    wizard.WaitPage(L"tsInputComponents");
    context.Check(IsChecked(wizard.Control(L"BUTTON", L"Устанавливать драйвер")),
                  L"\"Устанавливать драйвер\" is checked at first");
    context.Check(PlainRightEdge(wizard.Control(L"BUTTON", L"Устанавливать драйвер")),
                  L"the caption \"Устанавливать драйвер\" shows whole");
    context.Shot(L"04-options", wizard);
}

void CancelAndExit(TWizard& wizard, TContext& context) {
    wizard.Press(L"Отмена");
    const TMessageBox box = wizard.WaitMessageBox();
    context.CheckEqual(box.Text, CancelQuestion, L"cancel question");
    context.Shot(L"05-cancel-question", wizard);
    wizard.Answer(box, IDYES);

    wizard.WaitPage(L"tsCancel");
    context.Shot(L"06-cancelled", wizard);
    wizard.Press(L"Выход");
    const DWORD code = wizard.WaitExit(ExitTimeoutMs);
    context.Check(code == 0, L"exit code after \"Выход\" is " + std::to_wstring(code));
}

} // namespace e2e
