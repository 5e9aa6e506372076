// The wizard driven with the keyboard alone, as a person walks through it with Enter and Esc:
// every key goes to the control that has the focus (GetGUIThreadInfo), as typed keys do.
#include <oleacc.h>

#include "Automation.h"
#include "InstallWalks.h"
#include "Installation.h"
#include "Machine.h"
#include "Report.h"
#include "Scenario.h"
#include "Scenarios.h"
#include "Wait.h"
#include "Wizard.h"

namespace e2e {
namespace {

constexpr wchar_t CancelQuestion[] = L"Вы уверены, что хотите отменить процесс установки?";
constexpr wchar_t DriverQuestion[] = L"Подключите интерфейсный блок и нажмите \"Yes\"?";
constexpr DWORD ExitTimeoutMs = 20000;

// AccessibleObjectFromWindow from oleacc.dll, loaded when first used (linking oleacc would
// define IID_IAccessible a second time beside libuuid in the 64-bit toolchain).
HRESULT AccessibleObjectOf(HWND wnd, IAccessible** object) {
    using TFunction = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
    static const auto function = reinterpret_cast<TFunction>(reinterpret_cast<void*>(
        GetProcAddress(LoadLibraryW(L"oleacc.dll"), "AccessibleObjectFromWindow")));
    if (function == nullptr) {
        return E_NOTIMPL;
    }
    return function(wnd, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                    reinterpret_cast<void**>(object));
}

void WaitGone(HWND window, const std::wstring& what) {
    WaitFor(what + L" to close", [&] { return !IsWindow(window) || !IsWindowVisible(window); });
}

void CheckExit(TWizard& wizard, TContext& context, const std::wstring& after) {
    const DWORD code = wizard.WaitExit(ExitTimeoutMs);
    context.Check(code == 0, L"exit code after " + after + L" is " + std::to_wstring(code));
}

// Page 1, the focus on "Далее"; Enter to page 2, the focus in the path field with its text
// selected.
void EnterToPathPage(TWizard& wizard, TContext& context) {
    wizard.WaitPage(L"tsStart");
    wizard.CheckFocus(context, L"Button", L"Далее", L"on the welcome page");
    wizard.Key(VK_RETURN);
    wizard.WaitPage(L"tsInputPath");
    wizard.CheckFocus(context, L"Edit", L"C:\\Holter", L"on the path page");
    const DWORD selection = static_cast<DWORD>(SendMessageW(wizard.Field(), EM_GETSEL, 0, 0));
    context.Check(LOWORD(selection) == 0 && HIWORD(selection) == 9,
                  L"the path field's text is selected (selection " +
                      std::to_wstring(LOWORD(selection)) + L" to " +
                      std::to_wstring(HIWORD(selection)) + L")");
}

// The driver warning shows before it takes the focus; a slow machine sees the gap.
HWND WaitDriverWarning(TWizard& wizard) {
    HWND warning = wizard.WaitTimedMessage();
    WaitFor(L"the focus on OK in the driver warning",
            [&] { return TextOf(wizard.Focus()) == L"OK" || !IsWindow(warning); });
    return warning;
}

// Enter on the path page opens the driver warning with the focus on its OK; the key given
// closes it (Enter: OK, Esc: its close box); page 3 with the focus on "Начать установку".
void EnterToOptionsPage(TWizard& wizard, TContext& context, UINT closeKey) {
    wizard.Key(VK_RETURN);
    HWND warning = WaitDriverWarning(wizard);
    context.CheckEqual(TextOf(wizard.Focus()), L"OK", L"focused control in the driver warning");
    wizard.Key(closeKey);
    WaitGone(warning, L"the driver warning");
    wizard.WaitPage(L"tsInputComponents");
    wizard.CheckFocus(context, L"Button", L"Начать установку", L"on the options page");
}

// The captions the focus passes through with Tab, starting where it is, once round.
std::vector<std::wstring> TabRound(TWizard& wizard, size_t stops) {
    std::vector<std::wstring> order;
    for (size_t i = 0; i < stops; ++i) {
        HWND before = wizard.Focus();
        order.push_back(TextOf(before));
        wizard.Key(VK_TAB);
        // The posted key is handled after the sent messages that settle the window.
        WaitFor(L"the focus to move on from \"" + TextOf(before) + L"\"",
                [&] { return wizard.Focus() != before; });
    }
    order.push_back(TextOf(wizard.Focus()));
    return order;
}

std::wstring Joined(const std::vector<std::wstring>& texts) {
    std::wstring joined;
    for (const auto& text : texts) {
        joined += (joined.empty() ? L"" : L" → ") + text;
    }
    return joined;
}

// Esc on a page of the walk: the cancel question answered No leaves the page and its focus;
// answered Yes, the cancel page with the focus on "Выход", and Esc there ends the program.
void EscapeFrom(TWizard& wizard, TContext& context, const std::wstring& page,
                const wchar_t* focusClass, const wchar_t* focusCaption) {
    wizard.Key(VK_ESCAPE);
    TMessageBox box = wizard.WaitMessageBox();
    context.CheckEqual(box.Text, CancelQuestion, L"Esc on " + page);
    wizard.Answer(box, IDNO);
    wizard.WaitPage(page);
    wizard.CheckFocus(context, focusClass, focusCaption, L"on " + page + L" after No");
    wizard.Key(VK_ESCAPE);
    box = wizard.WaitMessageBox();
    context.CheckEqual(box.Text, CancelQuestion, L"Esc again on " + page);
    wizard.Answer(box, IDYES);
    wizard.WaitPage(L"tsCancel");
    wizard.CheckFocus(context, L"Button", L"Выход", L"on the cancel page");
    wizard.Key(VK_ESCAPE);
    CheckExit(wizard, context, L"Esc on the cancel page");
}

// The newest line of the log list shows whole (LB_GETTOPINDEX and the list's height).
void CheckLogFollowed(TWizard& wizard, TContext& context) {
    const auto lists = AllDescendants(wizard.PageNamed(L"tsProgressInstall"), L"LISTBOX");
    if (lists.size() != 1) {
        context.Check(false, L"one log list on the progress page");
        return;
    }
    HWND list = lists.front();
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    const auto top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
    const auto itemHeight = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
    RECT client{};
    GetClientRect(list, &client);
    const auto shown = itemHeight > 0 ? client.bottom / itemHeight : 0;
    context.Check(count > shown, L"the log is longer than the list (" + std::to_wstring(count) +
                                     L" lines, " + std::to_wstring(shown) + L" shown)");
    context.Check(top + shown >= count && top <= count - 1,
                  L"the newest log line shows: top line " + std::to_wstring(top + 1) + L", " +
                      std::to_wstring(shown) + L" lines shown of " + std::to_wstring(count));
}

// Name and role of each button and check box on the visible page, through oleacc.
void CheckAccessible(TWizard& wizard, TContext& context, const std::wstring& page) {
    for (HWND control : VisibleDescendants(wizard.PageNamed(page), L"BUTTON")) {
        const std::wstring caption = TextOf(control);
        const bool checkBox = (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX;
        IAccessible* object = nullptr;
        const HRESULT hr = AccessibleObjectOf(control, &object);
        if (FAILED(hr) || object == nullptr) {
            context.Check(false, L"AccessibleObjectFromWindow for \"" + caption +
                                     L"\" failed, error " + std::to_wstring(hr));
            continue;
        }
        VARIANT self;
        VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        object->get_accName(self, &name);
        context.CheckEqual(name != nullptr ? std::wstring(name) : L"", caption,
                           L"accessible name on " + page);
        SysFreeString(name);
        VARIANT role;
        VariantInit(&role);
        object->get_accRole(self, &role);
        const long expected = checkBox ? ROLE_SYSTEM_CHECKBUTTON : ROLE_SYSTEM_PUSHBUTTON;
        context.Check(role.vt == VT_I4 && role.lVal == expected,
                      L"accessible role of \"" + caption + L"\" is " +
                          std::to_wstring(role.vt == VT_I4 ? role.lVal : -1) + L", expected " +
                          std::to_wstring(expected));
        object->Release();
    }
}

} // namespace

void KeyboardInstall(TContext& context) {
    TScreenDpi screen(96);
    const std::wstring target = L"C:\\Holter\\";
    RemoveSuite(target);
    const std::wstring source = context.CopyDistribution();
    const TInstallation installation = PlanInstallation(source, target, true);

    TWizard wizard(context, source);
    EnterToPathPage(wizard, context);
    EnterToOptionsPage(wizard, context, VK_RETURN);
    wizard.Key(VK_RETURN);
    const TMessageBox box = wizard.WaitMessageBox();
    context.CheckEqual(box.Text, DriverQuestion, L"driver question after Enter");
    // The box is the platform's own: Enter presses its default button, Yes.
    PressKey(box.Window, VK_RETURN, wizard.Main());
    WaitGone(box.Window, L"the driver question");
    WaitRunEnd(wizard, true);
    wizard.CheckFocus(context, L"Button", L"Выход", L"on the font-size page");
    CheckLogFollowed(wizard, context);
    CheckInstallation(context, wizard, installation);
    wizard.Key(VK_RETURN);
    CheckExit(wizard, context, L"Enter on the font-size page");
}

void KeyboardEscape(TContext& context) {
    {
        TWizard wizard(context, context.CopyDistribution());
        wizard.WaitPage(L"tsStart");
        EscapeFrom(wizard, context, L"tsStart", L"Button", L"Далее");
    }
    {
        TWizard wizard(context, context.CopyDistribution());
        EnterToPathPage(wizard, context);
        EscapeFrom(wizard, context, L"tsInputPath", L"Edit", L"C:\\Holter");
    }
    TWizard wizard(context, context.CopyDistribution());
    EnterToPathPage(wizard, context);
    EnterToOptionsPage(wizard, context, VK_ESCAPE);
    EscapeFrom(wizard, context, L"tsInputComponents", L"Button", L"Начать установку");
}

void KeyboardTabOrder(TContext& context) {
    TWizard wizard(context, context.CopyDistribution());
    EnterToPathPage(wizard, context);
    CheckAccessible(wizard, context, L"tsInputPath");
    context.CheckEqual(Joined(TabRound(wizard, 4)),
                       L"C:\\Holter → Выбрать → Отмена → Далее → C:\\Holter",
                       L"tab order of the path page");
    wizard.Key(VK_RETURN);
    HWND warning = WaitDriverWarning(wizard);
    context.CheckEqual(Joined(TabRound(wizard, 2)), L"OK → остановить → OK",
                       L"tab order of the driver warning");
    wizard.Key(VK_RETURN);
    WaitGone(warning, L"the driver warning");
    wizard.WaitPage(L"tsInputComponents");
    CheckAccessible(wizard, context, L"tsInputComponents");
    context.CheckEqual(
        Joined(TabRound(wizard, 4)),
        L"Начать установку → Устанавливать драйвер → Отмена → Назад → Начать установку",
        L"tab order of the options page");
    wizard.Key(VK_ESCAPE);
    wizard.Answer(wizard.WaitMessageBox(), IDYES);
    wizard.WaitPage(L"tsCancel");
    CheckAccessible(wizard, context, L"tsCancel");
    wizard.Key(VK_RETURN);
    CheckExit(wizard, context, L"Enter on the cancel page");
}

} // namespace e2e
