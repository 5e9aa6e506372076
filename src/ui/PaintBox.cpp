#include "ui/PaintBox.h"

void TPaintBox32::Create(TWinContainer& parent, const TPlace& place) {
    CreateContainer(parent, place, L"TPaintBox", L"", WS_VISIBLE | WS_CLIPSIBLINGS);
    SetWindowPos(FHandle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TPaintBox32::Repaint() {
    InvalidateRect(FHandle, nullptr, FALSE);
    UpdateWindow(FHandle);
}

LRESULT TPaintBox32::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // the buffer covers everything
    case WM_SIZE: {
        const int width = LOWORD(lParam);
        const int height = HIWORD(lParam);
        // A minimised window has no client area; the old picture is kept for the restore.
        if (width > 0 && height > 0 && (width != FBuffer.Width() || height != FBuffer.Height())) {
            FBuffer.SetSize(width, height);
            if (OnResize) {
                OnResize();
            }
        }
        return 0;
    }
    }
    return TWinContainer::WndProc(message, wParam, lParam);
}

void TPaintBox32::Paint(HDC dc) {
    if (!FBuffer.Empty()) {
        FBuffer.Draw(dc, 0, 0);
    }
}
