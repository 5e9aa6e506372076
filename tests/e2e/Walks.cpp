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

} // namespace

void WalkToOptions(TWizard& wizard, TContext& context, const std::wstring& path) {
    wizard.WaitPage(L"tsStart");
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
    context.Shot(L"03-driver-warning", wizard);
    wizard.CloseTimedMessage(warning);
    wizard.WaitPage(L"tsInputComponents");
    context.Check(IsChecked(wizard.Control(L"BUTTON", L"Устанавливать драйвер")),
                  L"\"Устанавливать драйвер\" is checked at first");
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
