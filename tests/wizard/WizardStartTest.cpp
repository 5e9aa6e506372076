#include "WizardFixture.h"

#include "wizard/Brand.h"

TEST_F(WizardTest, OpensOnWelcomePageWithItsDefaults) {
    EXPECT_EQ(VisiblePages(), std::vector<std::wstring>{L"tsStart"});
    EXPECT_EQ(FindVisibleChild(Form->Handle(), L"SysTabControl32", L""), nullptr);
    EXPECT_EQ(Form->ePath.Text(), L"C:\\Holter");
    EXPECT_EQ(Form->AppNameStr, L"Holter");
    EXPECT_TRUE(Form->FCanClose);
    EXPECT_TRUE(Form->CbDriverInstal.Checked());
    EXPECT_FALSE(Form->CBWindows.Visible());
    EXPECT_EQ(Form->CBWindows.Count(), 2);
    EXPECT_EQ(Form->CBWindows.ItemIndex(), 0);
    EXPECT_FALSE(Form->LogList.Visible());
    EXPECT_FALSE(Form->BtnExit.Enabled());
    EXPECT_EQ(Form->Text(), L"Установка комплекса");

    RECT client;
    GetClientRect(Form->Handle(), &client);
    EXPECT_EQ(client.right, 954);
    EXPECT_EQ(client.bottom, 579);
    const RECT pages = Form->InsatallPages.Bounds();
    EXPECT_EQ(pages.left, 320);
    EXPECT_EQ(pages.top, 110);
    EXPECT_EQ(pages.right - pages.left, 619);
    EXPECT_EQ(pages.bottom - pages.top, 441);
}

TEST_F(WizardTest, NextOnWelcomeGoesToPathPageWithFocusInField) {
    Click(L"Далее");
    EXPECT_EQ(VisiblePages(), std::vector<std::wstring>{L"tsInputPath"});
    EXPECT_EQ(GetFocus(), Form->ePath.Handle());
}

TEST_F(WizardTest, BrandFlagIsOffWithTheShippedStringTable) {
    EXPECT_FALSE(IsLovenaBrand);
    EXPECT_FALSE(Form->LovenaBrand());
}

TEST(Brand, LovenaInAnyCaseOnly) {
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"Ловена", true},   {L"ЛОВЕНА", true},   {L"ловена", true}, {L"лОвЕнА", true},
        {L"Сонтира", false}, {L"Ловена ", false}, {L"", false},      {L"Lovena", false}};
    for (const auto& [name, expected] : cases) {
        EXPECT_EQ(IsLovenaName(name), expected) << testing::PrintToString(std::wstring(name));
    }
}

// The pages after the welcome page are made while the message loop is idle; a click that comes
// first must find them made all the same.
TEST(WizardLaterPages, NextBeforeTheIdleWorkFindsThePagesWithTheirDefaults) {
    Application.Title = L"Установка комплекса \"Сонтира\"";
    TFMain form;
    form.Show();
    EXPECT_EQ(form.ePath.Handle(), nullptr);
    ASSERT_TRUE(ClickButton(form.Handle(), L"Далее"));
    EXPECT_TRUE(IsWindowVisible(form.tsInputPath.Handle()));
    EXPECT_EQ(form.ePath.Text(), L"C:\\Holter");
    EXPECT_EQ(GetFocus(), form.ePath.Handle());
    EXPECT_EQ(form.CBWindows.ItemIndex(), 0);
    EXPECT_TRUE(form.CbDriverInstal.Checked());
    EXPECT_FALSE(form.LogList.Visible());
    EXPECT_NE(form.LogList.Handle(), nullptr);
    EXPECT_FALSE(form.BtnExit.Enabled());
    EXPECT_NE(form.MemoChangeFontSize.Handle(), nullptr);
    EXPECT_FALSE(form.Idle());
}
