#include "common/StartFolder.h"

#include "common/Paths.h"

#include <windows.h>

#include <vector>

namespace {

std::wstring& Remembered() {
    static std::wstring folder;
    return folder;
}

} // namespace

void RememberStartFolder() {
    std::vector<wchar_t> buffer(GetCurrentDirectoryW(0, nullptr) + 1);
    const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length > 0 && length < buffer.size()) {
        Remembered() = IncludeTrailingPathDelimiter(std::wstring(buffer.data(), length));
    }
}

const std::wstring& StartFolder() {
    return Remembered();
}
