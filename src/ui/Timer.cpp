#include "ui/Timer.h"

#include "ui/Form.h"

TTimer::TTimer(TForm& owner, UINT interval)
    : FOwner(&owner), FId(owner.AddTimer(this)), FInterval(interval) {}

TTimer::~TTimer() {
    if (FOwner != nullptr) {
        if (FOwner->Handle() != nullptr) {
            KillTimer(FOwner->Handle(), FId);
        }
        FOwner->RemoveTimer(this);
    }
}

void TTimer::SetInterval(UINT interval) {
    FInterval = interval;
    Update();
}

void TTimer::SetEnabled(bool enabled) {
    FEnabled = enabled;
    Update();
}

void TTimer::Update() {
    if (FOwner == nullptr || FOwner->Handle() == nullptr) {
        return;
    }
    KillTimer(FOwner->Handle(), FId);
    if (FEnabled && FInterval != 0) {
        SetTimer(FOwner->Handle(), FId, FInterval, nullptr);
    }
}

void TTimer::Fire() {
    if (FEnabled && OnTimer) {
        OnTimer();
    }
}
