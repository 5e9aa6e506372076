#include "ui/HotTrack.h"

bool THotTrack::Update(HWND wnd, UINT message) {
    if (message == WM_MOUSEMOVE && !FHot) {
        // Windows reports the leave only when asked, once per request.
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, wnd, 0};
        TrackMouseEvent(&track);
        FHot = true;
        return true;
    }
    if (message == WM_MOUSELEAVE && FHot) {
        FHot = false;
        return true;
    }
    return false;
}
