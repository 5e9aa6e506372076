// Times Install.exe as a person meets it, against the platform and a peer installer doing the
// same work.
//   runbench startup INSTALL.EXE MINIMAL.EXE PLATFORM.EXE PEER.EXE REPETITIONS
//   runbench run DISTRIBUTION PEER_COPY.EXE PEER_EMBEDDED.EXE REPETITIONS
//   runbench verify DISTRIBUTION REPETITIONS
// Each prints lines of a name, the median and every figure in the order of the rounds
// (milliseconds unless named), so that figures of one round can be paired.
// Paths may be Linux paths; they are read through Wine's drive Z:.
#include "InstallRunBench.h"
#include "StartupBench.h"
#include "VerifyBench.h"
#include "common/Handles.h"
#include "e2e/Files.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    TComInit com;
    if (mode == L"startup" && argc == 7) {
        return BenchStartup(e2e::WindowsPath(argv[2]), e2e::WindowsPath(argv[3]),
                            e2e::WindowsPath(argv[4]), e2e::WindowsPath(argv[5]),
                            std::max(1, _wtoi(argv[6])));
    }
    if (mode == L"run" && argc == 6) {
        return BenchInstallRun(e2e::WindowsPath(argv[2]), e2e::WindowsPath(argv[3]),
                               e2e::WindowsPath(argv[4]), std::max(1, _wtoi(argv[5])));
    }
    if (mode == L"verify" && argc == 4) {
        return BenchVerify(e2e::WindowsPath(argv[2]), std::max(1, _wtoi(argv[3])));
    }
    std::fprintf(stderr,
                 "usage: runbench startup INSTALL.EXE MINIMAL.EXE PLATFORM.EXE PEER.EXE "
                 "REPETITIONS\n"
                 "       runbench run DISTRIBUTION PEER_COPY.EXE PEER_EMBEDDED.EXE REPETITIONS\n"
                 "       runbench verify DISTRIBUTION REPETITIONS\n");
    return 2;
}
