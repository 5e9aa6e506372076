#include "windows/WaitRun.h"

#include "ui/Application.h"

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
    CreateForm(L"TFWaitRun", L"Запуск Сонтира...", WS_POPUP | WS_CAPTION | WS_BORDER, WS_EX_TOPMOST,
               314, 39);
    SetFont(MakeFont(L"Tahoma", 13));
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
