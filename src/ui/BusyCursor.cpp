#include "ui/BusyCursor.h"

TBusyCursor::TBusyCursor() {
    ++FDepth;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

TBusyCursor::~TBusyCursor() {
    if (--FDepth == 0) {
        POINT pt;
        GetCursorPos(&pt);
        SetCursorPos(pt.x, pt.y); // makes Windows ask the window under it for its cursor again
    }
}

bool TBusyCursor::Apply() noexcept {
    if (!Active()) {
        return false;
    }
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return true;
}
