#include "common/CommonProc.h"
#include "common/CommonVar.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The shared library's start-up, in its documented order, before any window exists.
    InitCommonVar();
    InitCommonProc();
    return 0;
}
