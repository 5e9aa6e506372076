#pragma once
#include <windows.h>

// The screen's hourglass for the length of a scope; our windows show it while any is alive.
class TBusyCursor {
public:
    TBusyCursor();
    ~TBusyCursor();
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

    static bool Active() noexcept { return FDepth > 0; }
    // For WM_SETCURSOR: sets the hourglass and answers true while busy.
    static bool Apply() noexcept;

private:
    static inline int FDepth = 0;
};
