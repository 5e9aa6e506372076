// Times Install.exe as a person meets it, against the platform doing the same work.
//   runbench startup INSTALL.EXE MINIMAL.EXE PLATFORM.EXE REPETITIONS
//   runbench run DISTRIBUTION REPETITIONS
// Each prints lines of a name, the median and every figure (milliseconds unless named).
// Paths may be Linux paths; they are read through Wine's drive Z:.
#include "InstallRunBench.h"
#include "StartupBench.h"
#include "common/Handles.h"
#include "e2e/Files.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    TComInit com;
    if (mode == L"startup" && argc == 6) {
        return BenchStartup(e2e::WindowsPath(argv[2]), e2e::WindowsPath(argv[3]),
                            e2e::WindowsPath(argv[4]), std::max(1, _wtoi(argv[5])));
    }
    if (mode == L"run" && argc == 4) {
        return BenchInstallRun(e2e::WindowsPath(argv[2]), std::max(1, _wtoi(argv[3])));
    }
    std::fprintf(stderr,
                 "usage: runbench startup INSTALL.EXE MINIMAL.EXE PLATFORM.EXE REPETITIONS\n"
                 "       runbench run DISTRIBUTION REPETITIONS\n");
    return 2;
}
