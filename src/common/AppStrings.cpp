#include "common/AppStrings.h"

#include "common/Checked.h"
#include "ResourceIds.h"

std::wstring LoadAppString(HINSTANCE instance, int ident) {
    wchar_t buffer[256] = {};
    LoadStringW(instance, RangeChecked<UINT>(ident), buffer, 255);
    return buffer;
}

std::wstring AppFolderName(HINSTANCE instance) {
    return LoadAppString(instance, IDS_APP_FOLDER);
}

std::wstring ProductName(HINSTANCE instance) {
    return LoadAppString(instance, IDS_PRODUCT_NAME);
}

std::wstring ProductDescription(HINSTANCE instance) {
    return LoadAppString(instance, IDS_PRODUCT_DESCRIPTION);
}

std::wstring MainExecutableName(HINSTANCE instance) {
    return LoadAppString(instance, IDS_MAIN_EXECUTABLE);
}
