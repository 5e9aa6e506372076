#pragma once
#include "ui/Application.h"

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
