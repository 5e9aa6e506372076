#include "common/SystemLibrary.h"

#include <string>

TSystemLibrary::TSystemLibrary(const wchar_t* name)
    : FModule(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    // Windows without the search flags (Vista, 7 before its 2011 update) takes a full path.
    if (FModule || GetLastError() != ERROR_INVALID_PARAMETER) {
        return;
    }
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        const std::wstring path = std::wstring(folder, length) + L"\\" + name;
        FModule.reset(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    }
}

const TVersionFunctions& VersionFunctions() {
    static const TSystemLibrary library(L"version.dll");
    static const TVersionFunctions functions{
        library.Function<decltype(&::GetFileVersionInfoSizeW)>("GetFileVersionInfoSizeW"),
        library.Function<decltype(&::GetFileVersionInfoW)>("GetFileVersionInfoW"),
        library.Function<decltype(&::VerQueryValueW)>("VerQueryValueW")};
    return functions;
}

const TCommonControlsFunctions& CommonControlsFunctions() {
    static const TSystemLibrary library(L"comctl32.dll");
    static const TCommonControlsFunctions functions{
        library.Function<decltype(&::InitCommonControlsEx)>("InitCommonControlsEx"),
        library.Function<decltype(&::SetWindowSubclass)>("SetWindowSubclass"),
        library.Function<decltype(&::RemoveWindowSubclass)>("RemoveWindowSubclass"),
        library.Function<decltype(&::DefSubclassProc)>("DefSubclassProc")};
    return functions;
}
