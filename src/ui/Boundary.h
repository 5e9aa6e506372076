#pragma once
#include "ui/Application.h"

#include <utility>

// Every entry from Windows into our code goes through here: an exception never unwinds
// through a Windows frame; it becomes the application's error report instead.
template <typename R, typename F> R Guarded(R fallback, F&& body) noexcept {
    try {
        return body();
    } catch (...) {
        Application.HandleException();
        return fallback;
    }
}

template <typename F> void Guarded(F&& body) noexcept {
    try {
        body();
    } catch (...) {
        Application.HandleException();
    }
}

// A window procedure's boundary. An error out of a paint or a timer is reported once the
// message has been handled, and only once: the report's box runs a message loop, and a paint
// or a tick that fails again under it must not stack a second box.
template <typename R, typename F> R GuardedMessage(UINT message, R fallback, F&& body) noexcept {
    if (message != WM_PAINT && message != WM_TIMER) {
        return Guarded<R>(fallback, std::forward<F>(body));
    }
    R result = fallback;
    try {
        result = body();
    } catch (...) {
        Application.DeferException();
    }
    Application.ReportDeferred();
    return result;
}
