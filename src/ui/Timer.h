#pragma once
#include <windows.h>

#include <functional>

class TForm;

// A window timer of a form (SetTimer on the form's window), delivered through its messages.
class TTimer {
public:
    explicit TTimer(TForm& owner, UINT interval = 1000);
    ~TTimer();
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    UINT Interval() const noexcept { return FInterval; }
    void SetInterval(UINT interval);
    bool Enabled() const noexcept { return FEnabled; }
    void SetEnabled(bool enabled);

    std::function<void()> OnTimer;

private:
    void Update();
    void Fire();

    TForm* FOwner;
    UINT_PTR FId;
    UINT FInterval;
    bool FEnabled = false;

    friend class TForm;
};
