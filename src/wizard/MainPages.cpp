// The wizard's pages: their controls, texts, fonts and places.
#include "wizard/Main.h"

#include <algorithm>

namespace {
const COLORREF clBlack = RGB(0, 0, 0);
const COLORREF clNavy = RGB(0, 0, 128);
const COLORREF clMaroon = RGB(128, 0, 0);
// The folder button has no glyph; it shows its state in colours of its own.
const TButtonLook kSelectLook{0xF0F4F4, 0x743C00, 0xF48D6A, 0x3CC7FF};
const COLORREF kPathHotFrame = 0xFF8000;
} // namespace

// Each control's own font is set before the control is made, so that it is created with it and
// not laid out a second time. Only the welcome page is made with the window; the others follow
// page by page while the message loop is idle after the first paint, or all at once when one
// of them is selected before that.
void TFMain::CreatePages() {
    LoadGlyphs();
    RichEdit1.SetFont(MakeFont(L"MS Sans Serif", 13));
    RichEdit1.Create(*this, TPlace::At(16, 110, 282, 441));
    InsatallPages.SetFont(MakeFont(L"Tahoma", 15));
    InsatallPages.Create(*this, TPlace::At(320, 110, 619, 441));
    tsStart.Create(InsatallPages, L"tsStart");
    tsInputPath.Create(InsatallPages, L"tsInputPath");
    tsInputComponents.Create(InsatallPages, L"tsInputComponents");
    tsProgressInstall.Create(InsatallPages, L"tsProgressInstall");
    tsCancel.Create(InsatallPages, L"tsCancel");
    tsChangeFontSize.Create(InsatallPages, L"tsChangeFontSize");
    CreateStartPage();
    tsInputPath.OnCreateControls = [this] { CreateInputPathPage(); };
    tsInputComponents.OnCreateControls = [this] { CreateInputComponentsPage(); };
    tsProgressInstall.OnCreateControls = [this] { CreateProgressPage(); };
    tsCancel.OnCreateControls = [this] { CreateCancelPage(); };
    tsChangeFontSize.OnCreateControls = [this] { CreateChangeFontSizePage(); };
    BG.Create(*this, TPlace::Client()); // last: below the controls
}

// Enter presses the page's forward button, Esc its "Отмена" (or "Выход" where the walk ends);
// the focus goes where a person types or presses next when the page shows.
void TFMain::SetPageKeys(TTabSheet& page, TButton& enter, TButton& escape, TControl& focus) {
    page.DefaultButton = &enter;
    page.CancelButton = &escape;
    page.ActiveControl = &focus;
}

void TFMain::CreateStartPage() {
    PnlStartButtons.Create(tsStart, TPlace::Bottom(42));
    BtnCancel.Create(PnlStartButtons, TPlace::Left(99), L"Отмена", &FGlyphCancel);
    BtnCancel.OnClick = Bind(this, &TFMain::BtnCancelClick);
    BtnStartNext.Create(PnlStartButtons, TPlace::Right(98), L"Далее", &FGlyphNext);
    BtnStartNext.OnClick = Bind(this, &TFMain::BtnStartNextClick);
    SetPageKeys(tsStart, BtnStartNext, BtnCancel, BtnStartNext);
    MemoStart.SetFont(MakeFont(L"Times New Roman", 20));
    MemoStart.Create(tsStart, TPlace::Client(),
                     {L"Добро пожаловать в программу установки комплекса ", L"\"СОНТИРА\"!", L"",
                      L"Для продолжения установки, нажмите кнопку \"Далее\".", L"",
                      L"Для выхода из программы установки нажмите кнопку \"Отмена\"."},
                     clNavy);
}

void TFMain::CreateInputPathPage() {
    PnlInputPathButtons.Create(tsInputPath, TPlace::Bottom(37));
    BtnCancel2.Create(PnlInputPathButtons, TPlace::Left(99), L"Отмена", &FGlyphCancel);
    BtnCancel2.OnClick = Bind(this, &TFMain::BtnCancelClick);
    BtnInputPathNext.Create(PnlInputPathButtons, TPlace::Right(98), L"Далее", &FGlyphNext);
    BtnInputPathNext.OnClick = Bind(this, &TFMain::BtnInputPathNextClick);
    MemoInputPath.SetFont(MakeFont(L"Times New Roman", 20));
    MemoInputPath.Create(tsInputPath, TPlace::Top(60),
                         {L"Пожалуйста, задайте путь куда устанавливать программную часть ",
                          L"комплекса \"Сонтира\""},
                         clBlack);
    PnlPath.Create(tsInputPath, TPlace::Top(32), TPanelBorder::pbRounded);
    PnlPath.SetPadding(2);
    BtnSelectPath.Create(PnlPath, TPlace::Right(91), L"Выбрать", nullptr, kSelectLook);
    BtnSelectPath.OnClick = Bind(this, &TFMain::BtnSelectPathClick);
    ePath.Create(PnlPath, TPlace::Client(), FPresets.Path.value_or(L"C:\\" + AppNameStr), 0);
    ePath.SetFlatFrame(GetSysColor(COLOR_BTNFACE), kPathHotFrame);
    PnlPath.SetBorderColor(InsatallPages.Color());
    SetPageKeys(tsInputPath, BtnInputPathNext, BtnCancel2, ePath);
}

void TFMain::CreateInputComponentsPage() {
    PnlInputComponentsButtons.Create(tsInputComponents, TPlace::Bottom(37));
    BtnCancel4.Create(PnlInputComponentsButtons, TPlace::Left(99), L"Отмена", &FGlyphCancel);
    BtnCancel4.OnClick = Bind(this, &TFMain::BtnCancelClick);
    // Right-aligned buttons are placed from the right edge: Install first, then Back.
    BtnInsatall.Create(PnlInputComponentsButtons, TPlace::Right(168), L"Начать установку",
                       &FGlyphInstall);
    BtnInsatall.OnClick = Bind(this, &TFMain::BtnInsatallClick);
    BtnInputComponentsBack.Create(PnlInputComponentsButtons, TPlace::Right(98), L"Назад",
                                  &FGlyphBack);
    BtnInputComponentsBack.OnClick = Bind(this, &TFMain::BtnInputComponentsBackClick);
    SetPageKeys(tsInputComponents, BtnInsatall, BtnCancel4, BtnInsatall);
    PnlOptions.Create(tsInputComponents, TPlace::Bottom(123), TPanelBorder::pbRounded);
    CBWindows.Create(PnlOptions, TPlace::At(0, 95, 207, 21),
                     {L"Windows 7, Windows 8", L"Windows XP"}, false);
    CBWindows.SetItemIndex(0);
    CbDriverInstal.Create(PnlOptions, TPlace::At(246, 101, 184, 20), L"Устанавливать драйвер");
    // At 120 dpi the box is larger and the caption would lose its end: wider where needed.
    CbDriverInstal.SetBounds(246, 101, std::max(184, CbDriverInstal.CaptionWidth()), 20);
    CbDriverInstal.SetChecked(FPresets.Driver.value_or(true));
    MemoInputComponents.SetFont(MakeFont(L"Tahoma", 15));
    MemoInputComponents.Create(
        tsInputComponents, TPlace::Client(),
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
         L"\"Сонтира\" в меню \"Настройки\"."},
        clBlack);
    tsInputComponents.OnShow = Bind(this, &TFMain::tsInputComponentsShow);
}

void TFMain::CreateProgressPage() {
    PnlProgressButtons.Create(tsProgressInstall, TPlace::Bottom(37));
    BtnExit.Create(PnlProgressButtons, TPlace::Right(99), L"Выход", &FGlyphExit);
    BtnExit.OnClick = Bind(this, &TFMain::BtnExitClick);
    BtnExit.SetEnabled(false);
    // Esc and Enter do nothing while "Выход" is disabled, that is during the run.
    SetPageKeys(tsProgressInstall, BtnExit, BtnExit, BtnExit);
    LogList.Create(tsProgressInstall, TPlace::Client(), false);
    LogList.SetItemHeight(18);
    LogList.SetFollowEnd(true);
}

void TFMain::CreateCancelPage() {
    MemoCancel.SetFont(MakeFont(L"Times New Roman", 20));
    MemoCancel.Create(tsCancel, TPlace::Top(177),
                      {L"Установка комплекса \"Сонтира\" отменена!", L"",
                       L"Нажмите кнопку \"Выход\", для выхода из программы установки."},
                      clMaroon);
    PnlCancelButtons.Create(tsCancel, TPlace::Bottom(37));
    BtnExitCancel.Create(PnlCancelButtons, TPlace::Right(99), L"Выход", &FGlyphExit);
    BtnExitCancel.OnClick = Bind(this, &TFMain::BtnExitClick);
    SetPageKeys(tsCancel, BtnExitCancel, BtnExitCancel, BtnExitCancel);
}

void TFMain::CreateChangeFontSizePage() {
    PnlChangeFontButtons.Create(tsChangeFontSize, TPlace::Bottom(37));
    BtnExitOnChangefont.Create(PnlChangeFontButtons, TPlace::Right(99), L"Выход", &FGlyphExit);
    BtnExitOnChangefont.OnClick = Bind(this, &TFMain::BtnExitClick);
    BtnChangeFont.Create(PnlChangeFontButtons, TPlace::Right(196), L"Изменить настройки",
                         &FGlyphInstall);
    BtnChangeFont.OnClick = Bind(this, &TFMain::BtnChangeFontClick);
    SetPageKeys(tsChangeFontSize, BtnExitOnChangefont, BtnExitOnChangefont, BtnExitOnChangefont);
    PnlChangeFontSpacer.Create(tsChangeFontSize, TPlace::Bottom(3));
    MemoChangeFontSize.SetFont(MakeFont(L"Tahoma", 15));
    MemoChangeFontSize.Create(
        tsChangeFontSize, TPlace::Client(),
        {L"В настройках операционной системы Вашего компьютера выбрано использование ",
         L"\"мелкого\" размера шрифта.", L"",
         L"Для корректной работы программы \"Сонтира\" требуется использование ",
         L"\"крупного\" размера шрифта.", L"",
         L"Рекомендуется произвести изменения. Для этого надо нажать кнопку \"Изменить ",
         L"настройки\". В появившемся окне надо ответить \"Да\".", L"",
         L"Если Вы считаете, что установка \"крупного\" размера шрифта Вам не нужна, ",
         L"нажмите кнопку \"Выход\"."},
        clBlack);
}
