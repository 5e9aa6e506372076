// Times our copies against the system's: one large file with CopyFileByStream and CopyFileW,
// and a folder of small files with CopyFolderTree and with CopyFileByStream file by file.
// Usage: copybench BIGFILE SMALLFOLDER WORK REPETITIONS.
// Prints one line per method: its name, then the median and every time in milliseconds; and
// the buffer size CopyFileByStream uses.
#include "common/DirEnum.h"
#include "primitives/FilePrimitives.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {
double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void RemoveFlatFolder(const std::wstring& folder) {
    for (const TDirEntry& entry : ListDirEntries(folder + L"\\*", faAnyFile)) {
        DeleteFileW((folder + L"\\" + entry.Name).c_str());
    }
    RemoveDirectoryW(folder.c_str());
}

struct TMethod {
    const char* Name;
    std::function<void()> Copy;
    std::function<void()> Clean;
    std::vector<double> Times;
};
} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: copybench BIGFILE SMALLFOLDER WORK REPETITIONS\n");
        return 2;
    }
    const std::wstring big = argv[1], small = argv[2], work = argv[3];
    const int repetitions = std::max(1, _wtoi(argv[4]));
    const std::wstring bigCopy = work + L"\\big.bin", smallCopy = work + L"\\small";
    CreateDirectoryW(work.c_str(), nullptr);

    const auto removeBig = [&] { DeleteFileW(bigCopy.c_str()); };
    const auto removeSmall = [&] { RemoveFlatFolder(smallCopy); };
    std::vector<TMethod> methods = {
        {"big.CopyFileW", [&] { CopyFileW(big.c_str(), bigCopy.c_str(), FALSE); }, removeBig, {}},
        {"big.CopyFileByStream", [&] { CopyFileByStream(big, bigCopy); }, removeBig, {}},
        {"small.CopyFolderTree", [&] { CopyFolderTree(small, smallCopy); }, removeSmall, {}},
        {"small.CopyFileByStream",
         [&] {
             CreateDirectoryW(smallCopy.c_str(), nullptr);
             for (const TDirEntry& entry : ListDirEntries(small + L"\\*", faAnyFile)) {
                 CopyFileByStream(small + L"\\" + entry.Name, smallCopy + L"\\" + entry.Name);
             }
         },
         removeSmall,
         {}},
    };
    // The large file first, then the small files, so that neither phase pays for the other's
    // clean-up. Within a phase one untimed round fills the cache, then the methods take
    // turns, each round starting with the next one.
    for (size_t phase = 0; phase < methods.size(); phase += 2) {
        for (int round = -1; round < repetitions; ++round) {
            for (size_t i = 0; i < 2; ++i) {
                TMethod& method = methods[phase + (i + static_cast<size_t>(round + 1)) % 2];
                method.Clean();
                const double start = Now();
                method.Copy();
                const double elapsed = Now() - start;
                if (round >= 0) {
                    method.Times.push_back(elapsed);
                }
                method.Clean();
            }
        }
    }
    for (TMethod& method : methods) {
        std::vector<double> sorted = method.Times;
        std::sort(sorted.begin(), sorted.end());
        std::printf("%s %.1f", method.Name, sorted[sorted.size() / 2]);
        for (double t : method.Times) {
            std::printf(" %.1f", t);
        }
        std::printf("\n");
    }
    std::printf("big.StreamBufferKiB %lu\n", StreamCopyBufferSize / 1024);
    RemoveDirectoryW(work.c_str());
    return 0;
}
