#include "windows/WaitRun.h"

#include "common/Handles.h"
#include "ui/Application.h"

namespace {
const int kClientWidth = 314;
const int kClientHeight = 39;
const int kBorderWidth = 2; // inside the frame, around the client area
} // namespace

std::wstring WaitRunCaption(std::uint8_t typemessage) {
    switch (typemessage) {
    case 2:
        return L"Запись данных ЭКГ";
    case 3:
        return L"Преобразование данных ЭКГ в формат Сонтира";
    case 4:
        return L"";
    default:
        return L"Launching ";
    }
}

TFWaitRun::TFWaitRun() {
    // A caption without system menu: no title-bar buttons; a thin fixed frame.
    CreateForm(L"TFWaitRun", L"Запуск Сонтира...", WS_POPUP | WS_CAPTION, WS_EX_TOPMOST,
               kClientWidth + 2 * kBorderWidth, kClientHeight + 2 * kBorderWidth);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SetFont(MakeFont(L"Tahoma", 13, false, RUSSIAN_CHARSET));
    ProgressBar.Create(*this, TPlace::Bottom(20), 0, 25, 1);
    LblProgress.Create(*this, TPlace::Client(), L"");
    OnShow = Bind(this, &TFWaitRun::FormShow);
    FormCreate();
}

void TFWaitRun::FormCreate() {
    ProgressBar.SetPosition(0);
    SetCaption(WaitRunCaption(typemessage));
}

void TFWaitRun::FormShow() {
    SetCaption(WaitRunCaption(typemessage));
    CenterOnScreen();
}

void TFWaitRun::Next(const std::wstring& msg) noexcept {
    try {
        ProgressBar.StepIt();
        LblProgress.SetText(msg);
        Application.ProcessMessages();
    } catch (...) {
        // A progress line is never worth failing the operation it reports on.
    }
}

LRESULT TFWaitRun::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCALCSIZE) {
        const LRESULT result = TForm::WndProc(message, wParam, lParam);
        // Both forms of the message start with the client rectangle to be.
        RECT* client = wParam != FALSE ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                                       : reinterpret_cast<RECT*>(lParam);
        InflateRect(client, -kBorderWidth, -kBorderWidth);
        return result;
    }
    if (message == WM_NCPAINT) {
        const LRESULT result = TForm::WndProc(message, wParam, lParam);
        PaintBorder();
        return result;
    }
    return TForm::WndProc(message, wParam, lParam);
}

void TFWaitRun::PaintBorder() {
    RECT window;
    GetWindowRect(Handle(), &window);
    POINT origin{0, 0};
    ClientToScreen(Handle(), &origin);
    RECT client;
    GetClientRect(Handle(), &client);
    OffsetRect(&client, origin.x - window.left, origin.y - window.top);
    RECT ring = client;
    InflateRect(&ring, kBorderWidth, kBorderWidth);
    TWholeWindowDC dc(Handle());
    if (dc.get() == nullptr) {
        return;
    }
    ExcludeClipRect(dc.get(), client.left, client.top, client.right, client.bottom);
    FillRect(dc.get(), &ring, GetSysColorBrush(COLOR_BTNFACE));
}
