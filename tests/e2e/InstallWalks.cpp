#include "InstallWalks.h"

#include <cwctype>

#include "Automation.h"
#include "Report.h"
#include "Scenario.h"
#include "Screenshot.h"
#include "Wait.h"

namespace e2e {
namespace {

constexpr wchar_t DriverQuestion[] = L"Подключите интерфейсный блок и нажмите \"Yes\"?";
constexpr wchar_t FinalQuestion[] = L"Установка завершена. Выйти из программы установки?";
constexpr wchar_t RestartQuestion[] =
    L"Изменения в настройки внесены, для того чтобы они\r\n"
    L"вступили в силу, требуется перзагрузить операционную систему.\r\n"
    L"Выполнить перезагрузку сейчас?";
// Copies, fonts, the driver installer and cmd under Wine: seconds, but the machine is shared.
constexpr DWORD RunTimeoutMs = 120000;
constexpr DWORD ExitTimeoutMs = 20000;

// The caption of a button without its access-key marks, in lower case.
std::wstring PlainCaption(HWND button) {
    std::wstring caption;
    for (wchar_t c : TextOf(button)) {
        if (c != L'&') {
            caption += static_cast<wchar_t>(std::towlower(c));
        }
    }
    return caption;
}

// The button a person presses on the shell's overwrite confirmation ("Confirm file overwrite"
// and the like): "Yes to all" where there is one, else "Yes". None on every other box.
HWND ReplaceButton(HWND box) {
    if (!TextOf(box).starts_with(L"Confirm")) {
        return nullptr;
    }
    HWND yes = nullptr;
    for (HWND button : VisibleDescendants(box, L"BUTTON")) {
        const std::wstring caption = PlainCaption(button);
        if (caption == L"yes to all") {
            return button;
        }
        if (caption == L"yes") {
            yes = button;
        }
    }
    return yes;
}

// Moves a box below the main window, as a person drags it aside to read the page.
void MoveBelow(HWND box, HWND main) {
    RECT boxArea = WindowArea(box);
    const RECT screen = ScreenArea();
    const int height = boxArea.bottom - boxArea.top;
    SetWindowPos(box, nullptr, boxArea.left, screen.bottom - height, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Settle(main);
}

void CheckExit(TWizard& wizard, TContext& context, const wchar_t* after) {
    const DWORD code = wizard.WaitExit(ExitTimeoutMs);
    context.Check(code == 0,
                  L"exit code after " + std::wstring(after) + L" is " + std::to_wstring(code));
}

} // namespace

void StartInstallation(TWizard& wizard, TContext& context, bool driverYes) {
    wizard.Press(L"Начать установку");
    const TMessageBox box = wizard.WaitMessageBox();
    context.CheckEqual(box.Text, DriverQuestion, L"driver question");
    context.CheckEqual(wizard.VisiblePage(), L"tsProgressInstall", L"page behind the question");
    context.Shot(L"07-driver-question", wizard);
    if (context.Demo()) {
        MoveBelow(box.Window, wizard.Main());
        context.Shot(L"08-progress", wizard, wizard.Main());
    }
    wizard.Answer(box, driverYes ? IDYES : IDNO);
}

TRunEnd WaitRunEnd(TWizard& wizard, bool smallFonts) {
    TRunEnd end;
    const auto ended = [&] {
        const TMessageBox box = wizard.OpenMessageBox();
        if (box.Window == nullptr) {
            return smallFonts && wizard.VisiblePage() == L"tsChangeFontSize";
        }
        if (HWND replace = ReplaceButton(box.Window)) {
            ++end.OverwriteConfirmations;
            Click(replace, wizard.Main());
            WaitFor(L"the overwrite confirmation to close", [&] { return !IsWindow(box.Window); });
            return false;
        }
        if (!smallFonts && box.Text == FinalQuestion) {
            end.FinalQuestion = box;
            return true;
        }
        Fail(L"a message box opened before the run ended: \"" + Visible(box.Text) + L"\"" +
             wizard.Describe());
    };
    WaitFor(
        smallFonts ? L"the page tsChangeFontSize" : L"the final question", ended,
        [&] { return wizard.Describe(); }, RunTimeoutMs);
    return end;
}

void DeclineRestartAndExit(TWizard& wizard, TContext& context) {
    wizard.WaitPage(L"tsChangeFontSize");
    context.Shot(L"09-font-size", wizard);
    wizard.Press(L"Изменить настройки");
    const TMessageBox box = wizard.WaitMessageBox();
    context.CheckEqual(box.Text, RestartQuestion, L"restart question");
    context.Shot(L"10-restart-question", wizard);
    // Never Yes: ExitWindowsEx would end the whole Wine session.
    wizard.Answer(box, IDNO);
    ExitFromFontSizePage(wizard, context);
}

void ExitFromFontSizePage(TWizard& wizard, TContext& context) {
    wizard.WaitPage(L"tsChangeFontSize");
    wizard.Press(L"Выход");
    CheckExit(wizard, context, L"\"Выход\" on the font-size page");
}

void AnswerFinalQuestion(TWizard& wizard, TContext& context, const TMessageBox& question,
                         bool yes) {
    wizard.Answer(question, yes ? IDYES : IDNO);
    if (yes) {
        CheckExit(wizard, context, L"Yes to the final question");
        return;
    }
    wizard.WaitPage(L"tsProgressInstall");
    wizard.CheckFocus(context, L"Button", L"Выход", L"on the progress page after the run");
    wizard.Press(L"Выход");
    CheckExit(wizard, context, L"No to the final question, then \"Выход\"");
}

} // namespace e2e
