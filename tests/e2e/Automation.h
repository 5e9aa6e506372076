#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Driving another process's windows the way a person would: find them by class and caption,
// read their texts, click buttons. Every call that talks to the other process is bounded.
namespace e2e {

constexpr UINT SendTimeoutMs = 10000;

std::wstring ClassOf(HWND wnd);

// The window's text as the window reports it (WM_GETTEXT, so an EDIT gives its contents); the
// caption stored by the system if the window does not answer in time.
std::wstring TextOf(HWND wnd);

// Visible top-level windows of a process, with the class (and caption) given; processId 0: of
// any process but this one (a program that hands its work to a second process).
std::vector<HWND> TopLevelWindows(DWORD processId, const std::wstring& className);
HWND FindTopLevel(DWORD processId, const std::wstring& className);

// Visible descendants of parent, with the class given and, when caption is not null, exactly
// that window text.
std::vector<HWND> VisibleDescendants(HWND parent, const std::wstring& className,
                                     const wchar_t* caption = nullptr);
HWND FindVisibleDescendant(HWND parent, const std::wstring& className,
                           const wchar_t* caption = nullptr);
// The same, hidden windows included (a page that is not selected, and what it holds).
std::vector<HWND> AllDescendants(HWND parent, const std::wstring& className,
                                 const wchar_t* caption = nullptr);

// Waits until the window's thread has handled everything sent to it before this call.
void Settle(HWND wnd);

// Posts BM_CLICK (a sent one would block in the modal loop the click may open), then waits
// until mainWindow has handled its pending messages.
void Click(HWND button, HWND mainWindow);

// The window that has the keyboard focus in the thread of wnd (GetGUIThreadInfo); null when
// none has it.
HWND FocusOf(HWND wnd);

// A key pressed and let go, as the keyboard gives it: WM_KEYDOWN and WM_KEYUP posted to the
// window with the focus in the thread of anyWindow; then waits until mainWindow has handled
// its pending messages. Fails when no window has the focus.
void PressKey(HWND anyWindow, UINT key, HWND mainWindow);

void SetText(HWND wnd, const std::wstring& text);
bool IsChecked(HWND checkBox);
std::vector<std::wstring> ListBoxLines(HWND listBox);

} // namespace e2e
