// Times our copies against the system's.
//   copybench BIGFILE SMALLFOLDER WORK REPETITIONS
//     one large file with CopyFileByStream and CopyFileW; a folder of small files with
//     CopyFolderTree, with CopyFileW file by file, and with CopyFileByStream file by file;
//   copybench threads TREE WORK REPETITIONS
//     a tree (the bench's backup folders) with CopyFolderTree at 1, 2, 4 and 8 copies at a
//     time, and with CopyFileW file by file.
// Prints one line per method: its name, then the median and every time in milliseconds in the
// order of the rounds; and the buffer size CopyFileByStream uses.
#include "BenchClock.h"
#include "BenchTree.h"
#include "common/DirEnum.h"
#include "primitives/FilePrimitives.h"
#include "primitives/TreeCopy.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

struct TMethod {
    const char* Name;
    std::function<void()> Copy;
    std::function<void()> Clean;
    std::vector<double> Times;
};

// One untimed round fills the cache, then the methods take turns, each round starting with
// the next one, so that the figures of one round can be paired.
void TakeTurns(std::vector<TMethod>& methods, int repetitions) {
    const size_t count = methods.size();
    for (int round = -1; round < repetitions; ++round) {
        for (size_t i = 0; i < count; ++i) {
            TMethod& method = methods[(i + static_cast<size_t>(round + 1)) % count];
            method.Clean();
            const double start = NowMs();
            method.Copy();
            const double elapsed = NowMs() - start;
            if (round >= 0) {
                method.Times.push_back(elapsed);
            }
            method.Clean();
        }
    }
    for (const TMethod& method : methods) {
        PrintFigures(method.Name, method.Times);
    }
}

// The small files of a flat folder, one after the other.
void CopyEach(const std::wstring& from, const std::wstring& to,
              const std::function<void(const std::wstring&, const std::wstring&)>& copy) {
    CreateDirectoryW(to.c_str(), nullptr);
    for (const TDirEntry& entry : ListDirEntries(from + L"\\*", faAnyFile)) {
        copy(from + L"\\" + entry.Name, to + L"\\" + entry.Name);
    }
}

int BenchCopies(const std::wstring& big, const std::wstring& small, const std::wstring& work,
                int repetitions) {
    const std::wstring bigCopy = work + L"\\big.bin", smallCopy = work + L"\\small";
    const auto removeBig = [&] { DeleteFileW(bigCopy.c_str()); };
    const auto removeSmall = [&] { RemoveTree(smallCopy); };
    const auto copyFileW = [](const std::wstring& from, const std::wstring& to) {
        CopyFileW(from.c_str(), to.c_str(), FALSE);
    };
    const auto byStream = [](const std::wstring& from, const std::wstring& to) {
        CopyFileByStream(from, to);
    };
    // The large file first, then the small files, so that neither pays for the other's
    // clean-up.
    std::vector<TMethod> bigMethods = {
        {"big.CopyFileW", [&] { copyFileW(big, bigCopy); }, removeBig, {}},
        {"big.CopyFileByStream", [&] { byStream(big, bigCopy); }, removeBig, {}},
    };
    TakeTurns(bigMethods, repetitions);
    std::vector<TMethod> smallMethods = {
        {"small.CopyFolderTree", [&] { CopyFolderTree(small, smallCopy); }, removeSmall, {}},
        {"small.CopyFileW", [&] { CopyEach(small, smallCopy, copyFileW); }, removeSmall, {}},
        {"small.CopyFileByStream", [&] { CopyEach(small, smallCopy, byStream); }, removeSmall, {}},
    };
    TakeTurns(smallMethods, repetitions);
    std::printf("big.StreamBufferKiB %lu\n", StreamCopyBufferSize / 1024);
    return 0;
}

int BenchThreads(const std::wstring& tree, const std::wstring& work, int repetitions) {
    const std::wstring copy = work + L"\\tree";
    std::vector<std::wstring> files;
    for (const TDirEntry& entry : ListDirEntries(tree + L"\\*", faAnyFile | faDirectory)) {
        if (!entry.IsDirectory()) {
            files.push_back(entry.Name);
        } else if (!IsDotEntry(entry.Name)) {
            ListTree(tree, entry.Name, files);
        }
    }
    const auto remove = [&] { RemoveTree(copy); };
    std::vector<TMethod> methods;
    for (unsigned threads : {1u, 2u, 4u, 8u}) {
        static const char* const names[] = {"tree.Threads1", "tree.Threads2", "tree.Threads4",
                                            "tree.Threads8"};
        methods.push_back({names[methods.size()],
                           [&, threads] { CopyFolderTreeReporting(tree, copy, threads); },
                           remove,
                           {}});
    }
    methods.push_back({"tree.CopyFileW", [&] { CopyListed(tree, copy, files); }, remove, {}});
    TakeTurns(methods, repetitions);
    std::printf("tree.files %zu\ntree.DefaultThreads %u\n", files.size(), TreeCopyThreads);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 5 && std::wstring(argv[1]) == L"threads") {
        CreateDirectoryW(argv[3], nullptr);
        const int result = BenchThreads(argv[2], argv[3], std::max(1, _wtoi(argv[4])));
        RemoveDirectoryW(argv[3]);
        return result;
    }
    if (argc == 5) {
        CreateDirectoryW(argv[3], nullptr);
        const int result = BenchCopies(argv[1], argv[2], argv[3], std::max(1, _wtoi(argv[4])));
        RemoveDirectoryW(argv[3]);
        return result;
    }
    std::fprintf(stderr, "usage: copybench BIGFILE SMALLFOLDER WORK REPETITIONS\n"
                         "       copybench threads TREE WORK REPETITIONS\n");
    return 2;
}
