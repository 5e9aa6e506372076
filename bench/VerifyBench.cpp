#include "VerifyBench.h"

#include "BenchClock.h"
#include "BenchTree.h"
#include "ProcessRun.h"
#include "common/Errors.h"
#include "common/Handles.h"
#include "install/InstallRecord.h"
#include "install/Verify.h"

#include "e2e/Report.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

constexpr wchar_t Target[] = L"C:\\bench-verify\\";
constexpr double GiveUpMs = 600000;

void RunOrThrow(const std::wstring& program, const std::wstring& arguments, unsigned long expected,
                double& ms) {
    const TProcessRun run =
        RunProcess(program, L"\"" + program + L"\" " + arguments, GiveUpMs, true);
    if (!run.Started || run.TimedOut || run.ShowedWindow || run.ExitCode != expected) {
        throw EError(L"runbench: " + program + L" " + arguments + L" ended with " +
                     std::to_wstring(run.ExitCode) +
                     (run.ShowedWindow ? L", showing a window" : L""));
    }
    ms = run.Ms;
}

// What the check reads: each compared file and the distribution's.
std::vector<std::wstring> ComparedFiles(const std::wstring& distribution, double& mib) {
    const TRecordFile record = ReadInstallRecord(Target);
    if (record.State != TRecordState::rsRead) {
        throw EError(L"runbench: the installation's record does not read");
    }
    TInstallCheck check(distribution, Target, record.Entries);
    std::vector<std::wstring> files;
    double bytes = 0;
    for (const auto& file : check.ProgramFiles()) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (file.Content &&
            GetFileAttributesExW(file.Target.c_str(), GetFileExInfoStandard, &data)) {
            files.push_back(file.Target);
            files.push_back(file.Original);
            bytes +=
                2.0 * (static_cast<double>(data.nFileSizeHigh) * 4294967296.0 + data.nFileSizeLow);
        }
    }
    mib = bytes / (1 << 20);
    return files;
}

double ReadAll(const std::vector<std::wstring>& files) {
    std::vector<char> buffer(1 << 20);
    const double start = NowMs();
    for (const std::wstring& path : files) {
        TUniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        DWORD read = 0;
        while (file && ReadFile(file.get(), buffer.data(), DWORD(buffer.size()), &read, nullptr) &&
               read > 0) {
        }
    }
    return NowMs() - start;
}

// One byte of a backup file flipped: the size stays, so only its content tells.
void ChangeOneFile(const std::wstring& path) {
    TUniqueFile file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    char byte = 0;
    DWORD done = 0;
    if (!file || !ReadFile(file.get(), &byte, 1, &done, nullptr) || done != 1) {
        throw EError(L"runbench: cannot change " + path);
    }
    byte ^= 0x5A;
    SetFilePointer(file.get(), 0, nullptr, FILE_BEGIN);
    WriteFile(file.get(), &byte, 1, &done, nullptr);
}

} // namespace

int BenchVerify(const std::wstring& distribution, int repetitions) {
    try {
        RemoveTree(L"C:\\bench-verify");
        const std::wstring source = distribution + L"\\";
        double ms = 0;
        RunOrThrow(source + L"Install.exe",
                   L"/VERYSILENT /DIR=C:\\bench-verify /LOG=C:\\bench-verify-install.log", 0, ms);
        double mib = 0;
        const std::vector<std::wstring> files = ComparedFiles(source, mib);
        std::wstring changed;
        for (size_t i = 0; i < files.size() && changed.empty(); i += 2) {
            if (files[i].find(L"\\backup\\B") != std::wstring::npos) {
                changed = files[i];
            }
        }
        const std::wstring uninstaller = std::wstring(Target) + L"Uninstall.exe";
        std::vector<double> reference, verify, repair;
        for (int round = 0; round <= repetitions; ++round) {
            const double read = ReadAll(files);
            double checked = 0, repaired = 0;
            RunOrThrow(uninstaller, L"/VERIFY /VERYSILENT /LOG=C:\\bench-verify.log", 0, checked);
            ChangeOneFile(changed);
            RunOrThrow(uninstaller, L"/REPAIR /VERYSILENT /LOG=C:\\bench-repair.log", 0, repaired);
            if (round > 0) {
                reference.push_back(read);
                verify.push_back(checked);
                repair.push_back(repaired);
            }
        }
        PrintFigures("verify.ReadFile", reference);
        PrintFigures("verify.Verify", verify);
        PrintFigures("verify.Repair", repair);
        std::printf("verify.Files %zu\nverify.MiB %.1f\n", files.size() / 2, mib);
        RemoveTree(L"C:\\bench-verify");
        return 0;
    } catch (const EError& e) {
        std::fprintf(stderr, "%s\n", e2e::ToUtf8(e.Message()).c_str());
        RemoveTree(L"C:\\bench-verify");
        return 1;
    }
}
