#pragma once
#include "common/Handles.h"

#include <commctrl.h>

// A library that is not one of Windows' known system libraries (KnownDLLs) would be looked
// for in the program's own folder first, where anyone who can write there may have planted
// one of that name. The program imports none of them; it loads them here, at run time, from
// the system folder only, each once for the process's life.
class TSystemLibrary {
public:
    explicit TSystemLibrary(const wchar_t* name);

    // The function, or null when the library or the function is missing.
    template <class F> F Function(const char* name) const {
        return FModule ? reinterpret_cast<F>(
                             reinterpret_cast<void*>(GetProcAddress(FModule.get(), name)))
                       : nullptr;
    }

private:
    TUniqueModule FModule;
};

// version.dll's functions, resolved the first time they are wanted; null when missing.
struct TVersionFunctions {
    decltype(&::GetFileVersionInfoSizeW) GetFileVersionInfoSizeW = nullptr;
    decltype(&::GetFileVersionInfoW) GetFileVersionInfoW = nullptr;
    decltype(&::VerQueryValueW) VerQueryValueW = nullptr;
};
const TVersionFunctions& VersionFunctions();

// comctl32.dll's: the version 6 that the manifest asks for comes from its side-by-side assembly,
// but the libraries it needs in turn would still be looked for beside the program. Loaded
// after the program has limited the search to the system folder, they are found there.
struct TCommonControlsFunctions {
    decltype(&::InitCommonControlsEx) InitCommonControlsEx = nullptr;
    decltype(&::SetWindowSubclass) SetWindowSubclass = nullptr;
    decltype(&::RemoveWindowSubclass) RemoveWindowSubclass = nullptr;
    decltype(&::DefSubclassProc) DefSubclassProc = nullptr;
};
const TCommonControlsFunctions& CommonControlsFunctions();
