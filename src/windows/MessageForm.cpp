#include "windows/MessageForm.h"

#include "common/Checked.h"
#include "common/SetupLog.h"
#include "ui/Application.h"
#include "ui/Font.h"
#include "ui/PngResource.h"

#include <cmath>

namespace {
const int kClientWidth = 446;

// The local clock as a date-time in days since 30 December 1899.
double NowDays() {
    FILETIME utc;
    FILETIME local;
    GetSystemTimeAsFileTime(&utc);
    FileTimeToLocalFileTime(&utc, &local);
    ULARGE_INTEGER ticks;
    ticks.LowPart = local.dwLowDateTime;
    ticks.HighPart = local.dwHighDateTime;
    const double ticksPerDay = 864e9; // 100 ns ticks
    const double daysFrom1601To1899 = 109205.0;
    return static_cast<double>(ticks.QuadPart) / ticksPerDay - daysFrom1601To1899;
}
} // namespace

TFMessageform::TFMessageform() : StayUpTimer(*this, 1000), StopTimer(*this, 20000) {
    CreateForm(L"TFMessageform", L"", WS_OVERLAPPEDWINDOW, WS_EX_TOPMOST, kClientWidth, 120);
    CreateControls();
    OnShow = Bind(this, &TFMessageform::FormShow);
    OnClose = Bind(this, &TFMessageform::FormClose);
    StayUpTimer.OnTimer = Bind(this, &TFMessageform::StayUpTimerTimer);
    StopTimer.OnTimer = Bind(this, &TFMessageform::StopTimerTimer);
    btnOK.OnClick = Bind(this, &TFMessageform::btnOKClick);
    btnCancel.OnClick = Bind(this, &TFMessageform::btnCancelClick);
    btnStop.OnClick = Bind(this, &TFMessageform::btnStopClick);
}

void TFMessageform::CreateControls() {
    lblMessage.Create(*this, TPlace::Top(40), L"", SS_LEFT);
    lblMessage.SetFont(MakeFont(L"Tahoma", PointsToPixels(10)));
    // Bottom edges are taken in creation order: the countdown line lies below the buttons.
    // The countdown line: 16 pixels high and "остановить" 80 wide at 96 dpi; the system draws
    // the button's margins larger at 120, so the line grows with the setting to stay whole.
    const int lineHeight = ScaledToScreen(16);
    pnlClose.Create(*this, TPlace::Bottom(lineHeight));
    btnStop.Create(pnlClose, TPlace::Left(ScaledToScreen(80)), L"остановить");
    lblClose.Create(pnlClose, TPlace::Left(0), L"Окно закроется через", SS_CENTER);
    lblClose.SetBounds(0, 0, lblClose.TextWidth() + 8, lineHeight);
    lblSec.Create(pnlClose, TPlace::Left(ScaledToScreen(60)), L"  сек");
    pnlButtons.Create(*this, TPlace::Bottom(24));
    const TPngReader png;
    png.Decode(FGlyphCancel, L"GLYPH_CANCEL");
    png.Decode(FGlyphOK, L"GLYPH_OK");
    // The window's own face colours: it is not part of the wizard's skin.
    const TButtonLook look{GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNSHADOW),
                           GetSysColor(COLOR_BTNHIGHLIGHT), clNoColor};
    btnCancel.Create(pnlButtons, TPlace::Left(73), L"Отмена", &FGlyphCancel, look);
    btnOK.Create(pnlButtons, TPlace::Right(70), L"OK", &FGlyphOK, look);
    RzBorder1.Create(pnlButtons, TPlace::Right(10));
    // Enter presses OK, Esc acts as the close box; OK has the focus when the window shows.
    DefaultButton = &btnOK;
    ActiveControl = &btnOK;
    EscapeCloses = true;
    cbRealTime.Create(*this, TPlace::Bottom(17), L"Обработка программой анализа в реальном времени",
                      false);
    cbnotChek.Create(*this, TPlace::Bottom(17),
                     L"Не проверять ФИО в регистраторе, выбирать запись для считывания вручную",
                     false);
}

bool TFMessageform::Showmes(const std::wstring& Text, TMessageType tip,
                            const std::wstring& CaptionText, bool smodal) {
    FShowResult = false;
    FMessageTtype = tip;
    FMessageText = Text;
    FCaptionText = CaptionText;
    Fsmodal = smodal;
    btnCancel.SetVisible(tip == mtDialog);
    btnOK.SetVisible(true);
    if (!smodal) {
        btnOK.SetVisible(false);
        btnStop.SetVisible(false);
        btnCancel.SetVisible(false);
    }
    if (smodal) {
        ShowModal();
    } else {
        Show();
    }
    const bool result = FShowResult;
    if (Handle() != nullptr) {
        UpdateWindow(Handle());
    }
    return result;
}

void TFMessageform::FormShow() {
    StayUpTimer.SetEnabled(Fsmodal);
    StopTimer.SetEnabled(Fsmodal);
    if (!Fsmodal) {
        lblClose.SetVisible(false);
        lblSec.SetVisible(false);
    }
    pnlClose.SetVisible(true);
    lblMessage.SetText(FMessageText);
    SetCaption(FCaptionText);

    const int labelHeight = lblMessage.WrappedTextHeight(kClientWidth);
    lblMessage.SetBounds(0, 0, kClientWidth, labelHeight);
    const int height = labelHeight + pnlButtons.Height() + pnlClose.Height() + 60;
    SetOuterHeight(height);
    RECT r;
    GetWindowRect(Handle(), &r);
    const int width = r.right - r.left;
    SetWindowPos(Handle(), HWND_TOPMOST, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 GetSystemMetrics(SM_CYSCREEN) / 2 - height, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    ArrangeTabOrder();
    tt = NowDays();
}

void TFMessageform::FormClose() {
    StayUpTimer.SetEnabled(false);
    StopTimer.SetEnabled(false);
}

void TFMessageform::StayUpTimerTimer() {
    if (!IsWindowVisible(Handle())) {
        return;
    }
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const double total = static_cast<double>(StopTimer.Interval() / 1000);
    // llrint rounds in the default mode: a half goes to the even neighbour.
    const long long left = std::llrint(total - (NowDays() - tt) * 24 * 60 * 60);
    lblSec.SetText(L"  " + std::to_wstring(left) + L"с");
}

void TFMessageform::StopTimerTimer() {
    btnCancel.Click();
}

void TFMessageform::btnOKClick() {
    FShowResult = true;
    Close();
}

void TFMessageform::btnCancelClick() {
    FShowResult = false;
    Close();
}

void TFMessageform::btnStopClick() {
    StopTimer.SetEnabled(false);
    pnlClose.SetVisible(false);
}

bool ShowTimedMessage(const std::wstring& text, TMessageType type, const std::wstring& caption,
                      int seconds) {
    TFMessageform form; // its window goes with it, however this is left
    if (seconds != 0) {
        form.StopTimer.SetInterval(RangeChecked<UINT>(CheckedMul(seconds, 1000)));
    }
    LogLine(L"Окно с отсчётом: " + text);
    const bool result = form.Showmes(text, type, caption, true);
    LogLine(result ? L"Ответ: OK" : L"Ответ: закрыто");
    return result;
}
