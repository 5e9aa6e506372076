#include "support/Capture.h"

#include "common/Handles.h"
#include "ui/Application.h"

void CaptureWindow(HWND wnd, TBitmap32& picture, bool withFrame) {
    RedrawWindow(GetAncestor(wnd, GA_ROOT), nullptr, nullptr,
                 RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    Application.ProcessMessages();
    RECT r;
    if (withFrame) {
        GetWindowRect(wnd, &r);
    } else {
        GetClientRect(wnd, &r);
    }
    picture.SetSize(r.right - r.left, r.bottom - r.top);
    if (withFrame) {
        TWholeWindowDC dc(wnd);
        BitBlt(picture.Canvas(), 0, 0, picture.Width(), picture.Height(), dc.get(), 0, 0, SRCCOPY);
    } else {
        TWindowDC dc(wnd);
        BitBlt(picture.Canvas(), 0, 0, picture.Width(), picture.Height(), dc.get(), 0, 0, SRCCOPY);
    }
    for (int y = 0; y < picture.Height(); ++y) {
        std::uint32_t* row = picture.Row(y);
        for (int x = 0; x < picture.Width(); ++x) {
            row[x] &= 0x00FFFFFF;
        }
    }
}
