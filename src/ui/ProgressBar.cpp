#include "ui/ProgressBar.h"

#include <commctrl.h>

void TProgressBar::Create(TWinContainer& parent, const TPlace& place, int min, int max, int step) {
    CreateWindowOf(parent, place, PROGRESS_CLASSW, L"", WS_VISIBLE | PBS_SMOOTH);
    SendMessageW(FHandle, PBM_SETRANGE32, static_cast<WPARAM>(min), max);
    SendMessageW(FHandle, PBM_SETSTEP, static_cast<WPARAM>(step), 0);
}

int TProgressBar::Position() const {
    return static_cast<int>(SendMessageW(FHandle, PBM_GETPOS, 0, 0));
}

void TProgressBar::SetPosition(int position) {
    SendMessageW(FHandle, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void TProgressBar::StepIt() {
    SendMessageW(FHandle, PBM_STEPIT, 0, 0);
}
