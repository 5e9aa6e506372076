#include "install/SuiteShortcut.h"

#include "common/AppStrings.h"
#include "integration/Shortcut.h"

#include <windows.h>

std::wstring CreateSuiteShortcut(const std::wstring& target) {
    const HINSTANCE self = GetModuleHandleW(nullptr);
    const std::wstring description = ProductDescription(self);
    const std::wstring product = ProductName(self);
    const std::wstring program = MainExecutableName(self);
    std::wstring linkFile;
    CreateShellLink(target + program, TLinkLocation::llDesktop, L"", L"", L"",
                    description + L" \"" + product + L"\"", product, linkFile);
    return linkFile;
}

std::wstring SuiteShortcutFile(const std::wstring& target) {
    const HINSTANCE self = GetModuleHandleW(nullptr);
    return ShellLinkFile(target + MainExecutableName(self), TLinkLocation::llDesktop, L"",
                         ProductName(self));
}
