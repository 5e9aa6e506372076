// The toolkit's keyboard: default and cancel keys, the default button's look, tab order, focus,
// a list that follows what is added, and what the controls tell automation.
#include "support/Capture.h"
#include "ui/Application.h"
#include "ui/CheckBox.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/ListBox.h"
#include "ui/PageControl.h"
#include "ui/Panel.h"
#include "ui/SkinButton.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <string>
#include <vector>

namespace {
// A page as the wizard has them: a field, a check box, and a button row whose Cancel sits at
// the left and Back and Next at the right, made in an order that is not the eye's.
class TKeysForm : public TForm {
public:
    TKeysForm() {
        CreateForm(L"TKeysForm", L"keys", WS_OVERLAPPEDWINDOW, 0, 400, 200);
        Pages.Create(*this, TPlace::At(0, 0, 400, 200));
        Page.Create(Pages, L"Page");
        Buttons.Create(Page, TPlace::Bottom(37));
        Cancel.Create(Buttons, TPlace::Left(99), L"Отмена", nullptr);
        Next.Create(Buttons, TPlace::Right(98), L"Далее", nullptr);
        Back.Create(Buttons, TPlace::Right(98), L"Назад", nullptr);
        Option.Create(Page, TPlace::At(10, 60, 180, 20), L"Устанавливать драйвер");
        Field.Create(Page, TPlace::At(10, 10, 200, 24), L"C:\\Holter");
        Cancel.OnClick = [this] { Pressed.push_back(L"Отмена"); };
        Next.OnClick = [this] { Pressed.push_back(L"Далее"); };
        Back.OnClick = [this] { Pressed.push_back(L"Назад"); };
        Page.DefaultButton = &Next;
        Page.CancelButton = &Cancel;
        Page.ActiveControl = &Field;
        Show();
        Pages.SetActivePage(Page);
        Application.ProcessMessages();
    }
    // A key as a person types it: to the focused control, through the message loop.
    void Key(WPARAM key) {
        HWND focus = GetFocus();
        PostMessageW(focus, WM_KEYDOWN, key, 1);
        PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
        Application.ProcessMessages();
    }
    TPageControl Pages;
    TTabSheet Page;
    TPanel Buttons;
    TSkinButton Cancel;
    TSkinButton Next;
    TSkinButton Back;
    TCheckBox Option;
    TEdit Field;
    std::vector<std::wstring> Pressed;
};

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

std::wstring TextOf(HWND wnd) {
    wchar_t text[64] = {};
    GetWindowTextW(wnd, text, 64);
    return text;
}
} // namespace

TEST(Keyboard, EnterPressesTheDefaultOrTheFocusedButtonAndEscTheCancelButton) {
    TKeysForm form;
    ASSERT_EQ(GetFocus(), form.Field.Handle()); // the page's ActiveControl, on showing
    EXPECT_EQ(SendMessageW(form.Field.Handle(), EM_GETSEL, 0, 0), MAKELRESULT(0, 9));
    form.Key(VK_RETURN);
    form.Option.SetFocus();
    form.Key(VK_RETURN);
    form.Back.SetFocus();
    form.Key(VK_RETURN); // a focused push button is the one Enter presses
    form.Key(VK_ESCAPE);
    EXPECT_EQ(form.Pressed, (std::vector<std::wstring>{L"Далее", L"Далее", L"Назад", L"Отмена"}));
    EXPECT_FALSE(form.Option.Checked()); // Enter does not toggle the check box
    EXPECT_EQ(form.Field.Text(), L"C:\\Holter");

    form.Field.SetFocus();
    form.Next.SetEnabled(false);
    form.Cancel.SetEnabled(false);
    form.Key(VK_RETURN);
    form.Key(VK_ESCAPE);
    EXPECT_EQ(form.Pressed.size(), 4u); // disabled: nothing happens
    EXPECT_TRUE(IsWindow(form.Handle()));
}

TEST(Keyboard, EscClosesAFormAsItsCloseBoxWhenAskedTo) {
    TKeysForm form;
    form.Page.CancelButton = nullptr;
    int closeQueries = 0;
    form.OnCloseQuery = [&] {
        ++closeQueries;
        return false;
    };
    form.Key(VK_ESCAPE);
    EXPECT_EQ(closeQueries, 0);
    form.EscapeCloses = true;
    form.Key(VK_ESCAPE);
    EXPECT_EQ(closeQueries, 1);
}

TEST(Keyboard, TabOrderFollowsTheEye) {
    TKeysForm form;
    std::vector<std::wstring> order;
    for (int i = 0; i < 5; ++i) {
        order.push_back(TextOf(GetFocus()));
        form.Key(VK_TAB);
    }
    EXPECT_EQ(order, (std::vector<std::wstring>{L"C:\\Holter", L"Устанавливать драйвер", L"Отмена",
                                                L"Назад", L"Далее"}));
    EXPECT_EQ(GetFocus(), form.Field.Handle()); // round again
}

TEST(Keyboard, FocusComesBackWhenTheFormIsActivatedAgain) {
    TKeysForm form;
    form.Back.SetFocus();
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                 nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(other);
    Application.ProcessMessages();
    SetActiveWindow(form.Handle());
    Application.ProcessMessages();
    EXPECT_EQ(GetFocus(), form.Back.Handle());
    DestroyWindow(other);
}

TEST(SkinButton, TheButtonEnterPressesHasADoubleFrame) {
    TKeysForm form;
    const std::uint32_t frame = Rgb(0x00, 0x3C, 0x74);
    const std::uint32_t fill = Rgb(0xF4, 0xF4, 0xF0);
    TBitmap32 next;
    TBitmap32 back;
    CaptureWindow(form.Next.Handle(), next);
    CaptureWindow(form.Back.Handle(), back);
    EXPECT_EQ(next.Pixel(1, 18), frame); // the default, with the focus in the field
    EXPECT_EQ(back.Pixel(1, 18), fill);
    form.Back.SetFocus();
    Application.ProcessMessages();
    CaptureWindow(form.Next.Handle(), next);
    CaptureWindow(form.Back.Handle(), back);
    EXPECT_EQ(next.Pixel(1, 18), fill); // Enter now presses Back, which has the focus
    EXPECT_EQ(back.Pixel(1, 18), frame);
}

TEST(ListBox, FollowsTheEndUnlessScrolledUp) {
    TKeysForm form;
    TListBox list;
    list.Create(form.Page, TPlace::At(10, 90, 200, 100));
    list.SetItemHeight(18);
    list.SetFollowEnd(true);
    RECT client{};
    GetClientRect(list.Handle(), &client);
    const LRESULT shown = client.bottom / 18; // whole items
    const auto top = [&] { return SendMessageW(list.Handle(), LB_GETTOPINDEX, 0, 0); };
    for (int i = 0; i < 20; ++i) {
        list.Add(std::to_wstring(i));
    }
    EXPECT_EQ(top(), 20 - shown); // the newest item shows at the bottom
    list.Replace(19, L"19 done");
    EXPECT_EQ(top(), 20 - shown);
    // The user scrolls up to read; the list stays there while lines come.
    SendMessageW(list.Handle(), WM_VSCROLL, SB_LINEUP, 0);
    SendMessageW(list.Handle(), WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(top(), 18 - shown);
    for (int i = 20; i < 25; ++i) {
        list.Add(std::to_wstring(i));
    }
    list.Replace(24, L"24 done");
    EXPECT_EQ(top(), 18 - shown);
    // Back at the end, it follows again.
    SendMessageW(list.Handle(), WM_VSCROLL, SB_BOTTOM, 0);
    list.Add(L"25");
    EXPECT_EQ(top(), 26 - shown);
}

TEST(Accessibility, SkinButtonsAndCheckBoxesTellTheirNameAndRole) {
    TKeysForm form;
    struct {
        HWND Window;
        const wchar_t* Name;
        long Role;
    } const cases[] = {{form.Next.Handle(), L"Далее", ROLE_SYSTEM_PUSHBUTTON},
                       {form.Cancel.Handle(), L"Отмена", ROLE_SYSTEM_PUSHBUTTON},
                       {form.Option.Handle(), L"Устанавливать драйвер", ROLE_SYSTEM_CHECKBUTTON}};
    for (const auto& c : cases) {
        IAccessible* object = nullptr;
        ASSERT_EQ(AccessibleObjectOf(c.Window, &object), S_OK) << c.Name;
        VARIANT self;
        VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        EXPECT_EQ(object->get_accName(self, &name), S_OK) << c.Name;
        EXPECT_EQ(std::wstring(name != nullptr ? name : L""), c.Name);
        SysFreeString(name);
        VARIANT role;
        VariantInit(&role);
        EXPECT_EQ(object->get_accRole(self, &role), S_OK) << c.Name;
        EXPECT_EQ(role.vt, VT_I4) << c.Name;
        EXPECT_EQ(role.lVal, c.Role) << c.Name;
        object->Release();
    }
}
