#include "setup/SetupSession.h"

#include "common/Paths.h"
#include "common/SetupLog.h"
#include "common/VersionInfo.h"
#include "ui/Application.h"

namespace {

std::wstring ModeText(TSetupMode mode) {
    switch (mode) {
    case TSetupMode::smSilent:
        return L"без вопросов (/SILENT)";
    case TSetupMode::smVerySilent:
        return L"без окон (/VERYSILENT)";
    case TSetupMode::smWizard:
        break;
    }
    return L"мастер установки";
}

int ScreenPixelsPerInch() {
    const HDC screen = GetDC(nullptr);
    const int pixels = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return pixels;
}

} // namespace

void LogHeader(const std::wstring& title, const std::wstring& commandLine,
               const TCommandLine& options, const std::wstring& target) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t date[40];
    swprintf(date, 40, L"%02u.%02u.%04u %02u:%02u:%02u", now.wDay, now.wMonth, now.wYear, now.wHour,
             now.wMinute, now.wSecond);
    const std::wstring program = ExecutablePath();
    LogLine(title + L": начало " + std::wstring(date));
    LogLine(L"Версия: " + ReadVersionString(program, L"ProductVersion"));
    LogLine(L"Программа: " + program);
    LogLine(L"Командная строка: " + commandLine);
    LogLine(L"Режим: " + ModeText(options.Mode));
    LogLine(L"Логических точек на дюйм: " + std::to_wstring(ScreenPixelsPerInch()));
    LogLine(L"Папка установки: " + target);
}

void LogResult(const std::wstring& result, int exitCode) {
    LogLine(L"Итог: " + result + L"; код завершения " + std::to_wstring(exitCode));
}

void Tell(TSetupMode mode, const std::wstring& text, UINT icon) {
    LogLine(text);
    if (mode != TSetupMode::smVerySilent) {
        MessageBoxW(nullptr, text.c_str(), Application.Title.c_str(), icon | MB_OK);
    }
}

TSingleInstance::TSingleInstance() {
    // One name for every session of the machine: two setups must never write one folder.
    FMutex.reset(CreateMutexW(nullptr, FALSE, L"Global\\Sontira-Install"));
    const DWORD error = GetLastError();
    // A mutex we may not open is one that another setup made under another account.
    FAlreadyRunning = !FMutex || error == ERROR_ALREADY_EXISTS;
}
