#pragma once
#include "ui/Bitmap32.h"
#include "ui/WinContainer.h"

#include <functional>

// A window ("TPaintBox") that shows a 32-bit off-screen buffer of its own client size. Its
// owner draws the buffer in OnResize, which runs whenever the size changes, and then calls
// Repaint; the window copies the buffer in one piece, so a resize shows no partial drawing.
// It goes below its siblings that exist when it is made, and never paints over them.
class TPaintBox32 : public TWinContainer {
public:
    void Create(TWinContainer& parent, const TPlace& place);
    TBitmap32& Buffer() noexcept { return FBuffer; }
    // Shows the buffer at once.
    void Repaint();

    std::function<void()> OnResize;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

private:
    TBitmap32 FBuffer;
};
