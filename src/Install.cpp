#include "ui/Application.h"
#include "common/FileSystem.h"
#include "windows/WaitRun.h"
#include "wizard/Main.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The shared library's start-up runs first of all, in this order:
    // InitCommonVar(); InitCommonProc();

    // Libraries load from the system folder only, never from the distribution folder.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    try {
        // A relative target path typed into the wizard resolves against the program's folder.
        SetCurrentDirectoryW(ExecutableFolder().c_str());
        Application.Initialize();
        Application.Title = L"Установка комплекса \"Сонтира\"";
        Application.CreateForm<TFMain>();
        Application.CreateForm<TFWaitRun>();
        return Application.Run();
    } catch (...) {
        Application.HandleException();
        return 1;
    }
}
