#pragma once
#include <string>

// The name under which Windows lists the font in the file FontPath (for the Arial file
// "Arial"), without the " (TrueType)" ending; empty when it cannot be read.
std::wstring ReadFontFaceName(const std::wstring& FontPath);
