#include "WizardFixture.h"

#include "wizard/Brand.h"

TEST_F(WizardTest, OpensOnWelcomePageWithItsDefaults) {
    EXPECT_EQ(VisiblePages(), std::vector<std::wstring>{L"tsStart"});
    EXPECT_EQ(FindVisibleChild(Form->Handle(), L"SysTabControl32", L""), nullptr);
    EXPECT_EQ(Form->ePath.Text(), L"C:\\Holter");
    EXPECT_EQ(Form->AppNameStr, L"Holter");
    EXPECT_TRUE(Form->CanClose());
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

// The window's creation reads the brand from string table entry 1, whatever the flag held
// before: the shipped table names "Сонтира", the test library "ловена".
TEST(WizardBrand, CreationReadsTheBrandFromTheStringTable) {
    Application.Title = L"Установка комплекса \"Сонтира\"";
    const HMODULE lovena = LoadLibraryW((ExecutableFolder() + L"lovena_strings.dll").c_str());
    ASSERT_NE(lovena, nullptr) << GetLastError();
    const struct {
        const char* Name;
        HINSTANCE Strings;
        bool Expected;
        const wchar_t* Folder;
    } cases[] = {{"shipped", GetModuleHandleW(nullptr), false, L"Holter"},
                 {"ловена", lovena, true, L"Lovena"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TFMain form(c.Strings);
        EXPECT_EQ(form.IsLovenaBrand, c.Expected);
        EXPECT_EQ(form.RunChoices().LovenaBrand, c.Expected);
        EXPECT_EQ(form.AppNameStr, c.Folder);
    }
    FreeLibrary(lovena);
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

namespace {
std::vector<std::wstring> SplitLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}
} // namespace

// Every memo's lines as the window holds them, trailing blanks included, against the texts
// the pages are documented with.
TEST_F(WizardTest, MemosHoldTheirDocumentedLines) {
    const struct {
        const char* Name;
        TMemo TFMain::*Memo;
        std::vector<std::wstring> Lines;
    } memos[] = {
        {"MemoStart",
         &TFMain::MemoStart,
         {L"Добро пожаловать в программу установки комплекса ", L"\"СОНТИРА\"!", L"",
          L"Для продолжения установки, нажмите кнопку \"Далее\".", L"",
          L"Для выхода из программы установки нажмите кнопку \"Отмена\"."}},
        {"MemoInputPath",
         &TFMain::MemoInputPath,
         {L"Пожалуйста, задайте путь куда устанавливать программную часть ",
          L"комплекса \"Сонтира\""}},
        {"MemoInputComponents",
         &TFMain::MemoInputComponents,
         {L" - Если у Вас есть 2-х канальный кабель для регистрации детских ЭКГ, поставьте ",
          L"галочку в поле \"Регистрация 2-х канальной ЭКГ\".",
          L" - Если у Вас есть универсальный регистратор, поставьте галочку в поле ",
          L"\"Универсальный регистратор\".",
          L" - Если у Вас установлен монитор АД \"BPLab\", поставьте галочку в поле \"установлен ",
          L"монитор АД \"BPLab\"\".", L"",
          L" - Задайте, пожалуйста, тип ЭКГ, который Вы чаще всего будете регистрировать.", L"",
          L" - Нажмите кнопку \"Начать установку\", для того чтобы установить программное ",
          L"обеспечение на Ваш компъютер.", L"",
          L"Все настройки можно изменить позже, во время работы с программой ",
          L"\"Сонтира\" в меню \"Настройки\"."}},
        {"MemoCancel",
         &TFMain::MemoCancel,
         {L"Установка комплекса \"Сонтира\" отменена!", L"",
          L"Нажмите кнопку \"Выход\", для выхода из программы установки."}},
        {"MemoChangeFontSize",
         &TFMain::MemoChangeFontSize,
         {L"В настройках операционной системы Вашего компьютера выбрано использование ",
          L"\"мелкого\" размера шрифта.", L"",
          L"Для корректной работы программы \"Сонтира\" требуется использование ",
          L"\"крупного\" размера шрифта.", L"",
          L"Рекомендуется произвести изменения. Для этого надо нажать кнопку \"Изменить ",
          L"настройки\". В появившемся окне надо ответить \"Да\".", L"",
          L"Если Вы считаете, что установка \"крупного\" размера шрифта Вам не нужна, ",
          L"нажмите кнопку \"Выход\"."}},
    };
    for (const auto& m : memos) {
        SCOPED_TRACE(m.Name);
        const HWND memo = ((*Form).*m.Memo).Handle();
        ASSERT_NE(memo, nullptr);
        EXPECT_EQ(SplitLines(WindowText(memo)), m.Lines);
    }
}
