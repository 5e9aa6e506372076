#pragma once
#include "common/Handles.h"

// A font of the given face whose characters are pixelHeight pixels high (the em height,
// without internal leading), by default in the Cyrillic-capable default character set.
TUniqueGdi CreateFontByHeight(const wchar_t* face, int pixelHeight, bool bold = false,
                              BYTE charset = DEFAULT_CHARSET);

// Points to pixels at the screen's logical pixels per inch (10 pt is 13 px at 96).
int PointsToPixels(int points);
// A length given for 96 logical pixels per inch, at the screen's setting: for the few places
// whose content the system draws larger at a higher setting (button margins, check boxes).
int ScaledToScreen(int pixelsAt96);
