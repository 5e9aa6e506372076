#include "common/SmallFonts.h"

#include "common/Handles.h"

bool IsSmallFontsMode() {
    // The program is DPI aware, so this is the screen's real setting, not a virtualised 96.
    const TWindowDC screen(nullptr);
    return GetDeviceCaps(screen.get(), LOGPIXELSX) < 100;
}
