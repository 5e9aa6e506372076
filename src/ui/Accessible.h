#pragma once
#include <windows.h>

// Active Accessibility for a control of ours that the standard object describes wrongly (an
// owner-drawn button is a "client" there): the window's answer to WM_GETOBJECT for
// OBJID_CLIENT, an object that reports the role given, the caption as name and the
// control's state, and leaves everything else to the standard object. 0 for any other object
// (the default procedure then answers). oleacc.dll is loaded at the first request only.
LRESULT AccessibleObjectAnswer(HWND wnd, WPARAM wParam, LPARAM lParam, long role);
