#pragma once

// True when the screen runs below 100 logical pixels per inch (Windows' "small fonts").
bool IsSmallFontsMode();
