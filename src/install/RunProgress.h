#pragma once
#include <string>

// Where a run (or a removal) shows how it goes: the progress page's list and the state of
// the window around it. The wizard shows it; a run without a window keeps the lines.
class TRunProgress {
public:
    virtual ~TRunProgress() = default;

    virtual void ShowProgressPage() = 0;              // the progress page, its list empty
    virtual int LogAdd(const std::wstring& line) = 0; // index of the new entry
    virtual void LogReplace(int index, const std::wstring& line) = 0;
    virtual void LogRepaint() = 0;      // paint the list now, without a message pass
    virtual void ProcessMessages() = 0; // one pass over the pending messages
    virtual void SetCanClose(bool canClose) = 0;
    virtual void SetBusyCursor(bool busy) = 0;
    virtual void EnableExit() = 0;       // "Выход"
    virtual void ShowFontSizePage() = 0; // the end of a run at small screen fonts
    virtual void CloseWindow() = 0;      // a close request, as the window's close box makes
};
