#include "common/WindowsFolder.h"

#include "common/CanonicalPath.h"
#include "common/Paths.h"

#include <windows.h>

std::wstring GetWindowsFolder() {
    wchar_t buffer[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    return IncludeTrailingPathDelimiter(std::wstring(buffer, length));
}

std::wstring WindowsFontsFolder() {
    return GetWindowsFolder() + L"fonts\\";
}

bool IsInWindowsFontsFolder(const std::wstring& path) {
    return SamePath(ExtractFilePath(path), WindowsFontsFolder()) &&
           IsPlainName(ExtractFileName(path));
}
