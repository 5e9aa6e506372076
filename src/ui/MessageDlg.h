#pragma once
#include <windows.h>

#include <string>

// The wizard's message boxes: the platform's own, with its icons and buttons.
void ShowErrorBox(HWND owner, const std::wstring& text);
void ShowWarningBox(HWND owner, const std::wstring& text);
void ShowInformationBox(HWND owner, const std::wstring& text);
// A confirmation with Yes and No; true on Yes.
bool AskConfirmation(HWND owner, const std::wstring& text);
// A warning with OK and Cancel; true on OK.
bool AskWarningOkCancel(HWND owner, const std::wstring& text);
// A warning with Yes and No; true on Yes.
bool AskWarning(HWND owner, const std::wstring& text);
