#include "common/AppStrings.h"

#include "common/Checked.h"

std::wstring LoadAppString(HINSTANCE instance, int ident) {
    wchar_t buffer[256] = {};
    LoadStringW(instance, RangeChecked<UINT>(ident), buffer, 255);
    return buffer;
}
