// The install record lists only what setup really wrote, in whole lines: record lines that do
// not fit on a full disk leave no half line behind, and a driver folder the shell could not
// copy is not taken for setup's.
#include <windows.h>

#include <algorithm>
#include <memory>

#include "FaultCases.h"
#include "FaultFiles.h"
#include "FaultRun.h"
#include "Files.h"
#include "Machine.h"
#include "RecordFile.h"
#include "Removal.h"
#include "Report.h"
#include "Scenario.h"
#include "Unattended.h"
#include "common/Handles.h"

namespace e2e {
namespace {

constexpr wchar_t AppendFailed[] = L"Сбой: Запись об установке не дописана";

} // namespace

void RecordLinesThatDoNotFit(TContext& context) {
    const std::wstring dist = context.CopyDistribution();
    // Empty files are copied even to a full disk, and an older backup with many of them is
    // recorded in one write of some 60 KiB: the room left takes the updater's few small files
    // and the release level (a stop there would undo the run, record and all), not that write.
    for (int i = 0; i < 600; ++i) {
        WriteBytes(dist + L"\\backup\\R010203\\an empty file with a name long enough " +
                       std::to_wstring(i) + L".txt",
                   "");
    }
    // The fonts go to drive C:, yet the space check counts missing ones against the target's.
    for (const auto& font : MissingFonts()) {
        CopyFileW((dist + L"\\fonts\\" + font).c_str(), (WindowsFontsFolder() + font).c_str(),
                  TRUE);
    }
    const std::wstring target = FreshFolderName(SmallDrive() + L"\\target") + L"\\";
    const auto logsBefore = InstallLogsInTemp();
    std::unique_ptr<TDiskFiller> full;
    {
        TFaultInstall install(context, dist);
        install.AtDriverQuestion = [&] {
            full = std::make_unique<TDiskFiller>(SmallDrive() + L"\\", 32 * 1024);
        };
        install.Run(target); // it ends as a full disk makes it end; the record is what counts
        full.reset();
        install.CloseAndCheckExit();
    }
    const TRecord record = ReadRecord(target);
    context.Check(record.Problem.empty(), L"the record breaks its format: " + record.Problem);
    context.Check(std::any_of(record.Files.begin(), record.Files.end(),
                              [](const TRecordedFile& f) { return f.Path == L"DTAfb\\R47.FDB"; }),
                  L"the record lost what it listed before the disk was full");
    context.Check(HasLineStarting(NewDefaultLogLines(logsBefore), AppendFailed),
                  L"the log file does not say the record could not be written");
}

void DriverFolderNotCopied(TContext& context) {
    const std::wstring dist = context.CopyDistribution();
    const std::wstring target = FreshTarget();
    const std::wstring installer = target + L"FTDIDriverInstall\\FTDIDriverInstall.exe";
    CreateFolders(target + L"FTDIDriverInstall");
    WriteBytes(installer, "the vendor's driver installer the clinic put there\r\n");
    const std::string clinics = ReadBytes(installer);
    {
        // The shell cannot replace it, nor can the folder be moved aside for the run's way
        // back: the shell's copy of the driver folder does not happen.
        const TImmutable guard(installer);
        const TImmutable folder(target + L"FTDIDriverInstall");
        const TSetupRun run =
            RunSetup(dist, L"/VERYSILENT /DRIVER \"/DIR=" + target.substr(0, target.size() - 1) +
                               L"\" /LOG=C:\\driver-not-copied.log");
        context.Check(run.ExitCode == 0,
                      L"the installation ended with " + std::to_wstring(run.ExitCode));
    }
    const TRecord record = ReadRecord(target);
    context.Check(record.Problem.empty(), L"the record breaks its format: " + record.Problem);
    for (const auto& file : record.Files) {
        context.Check(!file.Path.starts_with(L"FTDIDriverInstall\\"),
                      L"the record lists " + file.Path + L", which the shell did not copy");
    }
    CheckExit(context, RunUninstall(target, L"/VERYSILENT /LOG=C:\\driver-not-copied-removal.log"),
              0);
    context.Check(ReadBytes(installer) == clinics, L"the clinic's driver installer was removed");
}

} // namespace e2e
