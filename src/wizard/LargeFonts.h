#pragma once
#include <windows.h>

#include <functional>

// The question asked after the switch, its three lines joined by CR LF.
extern const wchar_t* const RestartQuestionText;

// Asks Windows' own setup library to switch the screen to large fonts (120 pixels per inch).
// Silent when the library or its function is missing or the switch fails.
void SwitchToLargeFonts();

// What "Изменить настройки" does: the switch, then the restart question with owner as the
// box's owner; on Yes a restart that lets hung programs be closed, then closeWindow.
void ChangeFontSizeAndAskRestart(HWND owner, const std::function<void()>& closeWindow);
