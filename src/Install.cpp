#include "common/CommonProc.h"
#include "common/CommonVar.h"
#include "common/Paths.h"
#include "common/StartFolder.h"
#include "setup/Setup.h"
#include "ui/Application.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Libraries load from the system folder only, never from the distribution folder.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    try {
        // The shared library's start-up, in its order, before any window exists.
        InitCommonVar();
        InitCommonProc();
        // A relative /LOG is the caller's; a relative target typed into the wizard resolves
        // against the program's folder.
        RememberStartFolder();
        SetCurrentDirectoryW(ExecutableFolder().c_str());
        const TApplicationScope application;
        return RunSetup(GetCommandLineW());
    } catch (...) {
        Application.HandleException();
        return 1;
    }
}
