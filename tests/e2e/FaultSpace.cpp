// A full disk: a small file system of its own (a tmpfs that the suite's wrapper mounts as root
// and maps as a Wine drive), filled up to a given room before the run.
#include <windows.h>

#include <cstdlib>

#include "FaultCases.h"
#include "FaultFiles.h"
#include "FaultRun.h"
#include "Files.h"
#include "Report.h"
#include "Scenario.h"
#include "Unattended.h"
#include "common/Paths.h"

namespace e2e {
namespace {

struct TSpaceCase {
    ULONGLONG Room;       // bytes left free when the run starts
    const wchar_t* Large; // a distribution file made 1 MiB, or null
};

// Each one is short of room before anything is written, so setup refuses at once: the
// wizard on its options page, an unattended run with exit code 3.
const TSpaceCase Cases[] = {
    // 0: the database does not fit
    {32 * 1024, nullptr},
    // 1: a runtime file does not fit
    {512 * 1024, L"Firebird\\fbclient.Dll"},
    // 2: a full disk, and a settings file that fills its block
    {0, nullptr},
};

constexpr wchar_t NoRoom[] = L"Недостаточно места на диске ";

} // namespace

template <int N> void FullDisk(TContext& context) {
    const TSpaceCase& c = Cases[N];
    const std::wstring dist = context.CopyDistribution();
    if (c.Large != nullptr) {
        WriteBytes(dist + L"\\" + c.Large, std::string(1024 * 1024, 'L'));
    }
    const std::wstring drive = SmallDrive();
    const std::wstring target = FreshFolderName(drive + L"\\target") + L"\\";
    const TEarlierInstall earlier = TEarlierInstall::Seed(target);
    if (N == 2) {
        // A settings file that fills its block: the two keys make it need one more.
        std::string ini = "[options]\r\nFilterType=3\r\n[clinic]\r\nName=Polyclinic 5\r\nNotes=";
        ini += std::string(4096 - ini.size() - 2, 'n') + "\r\n";
        WriteBytes(target + L"Settings\\holter.ini", ini);
    }
    const std::string ini = ReadBytes(target + L"Settings\\holter.ini");
    {
        TDiskFiller filler(drive + L"\\", c.Room);
        TFaultInstall install(context, dist);
        const TRunEnd end = install.Run(target);
        context.Check(end.Kind == TRunEnd::reErrorBox && end.BoxText.starts_with(NoRoom),
                      L"the wizard says the disk is short of room, not \"" + Visible(end.BoxText) +
                          L"\"");
        context.CheckEqual(end.Page, L"tsInputComponents", L"page after the refusal");
        context.Check(end.Log.empty(), L"nothing logged: the run did not start");
        install.CloseAndCheckExit();

        const std::wstring log = dist + L"\\no-room.log";
        const TSetupRun run =
            RunSetup(dist, L"/VERYSILENT \"/DIR=" + ExcludeTrailingPathDelimiter(target) +
                               L"\" /LOG=" + log);
        context.Check(run.ExitCode == 3,
                      L"/VERYSILENT ends with 3, not " + std::to_wstring(run.ExitCode));
        context.Check(HasLineStarting(ReadLogFile(log), L"Ошибка: " + std::wstring(NoRoom)),
                      L"the log file says the disk is short of room");
    }
    // Nothing changed: the clinic's database where it was, no copy set aside, the settings
    // file as it was.
    context.Check(ReadBytes(target + L"DTAfb\\R47.FDB") == earlier.Database,
                  L"the clinic's database is not in R47.FDB");
    context.Check(earlier.DatabaseBackups().empty(), L"no database set aside");
    context.Check(ReadBytes(target + L"Settings\\holter.ini") == ini, L"holter.ini unchanged");
    earlier.Check(context);
    DeleteTree(target.substr(0, target.size() - 1));
}

template void FullDisk<0>(TContext&);
template void FullDisk<1>(TContext&);
template void FullDisk<2>(TContext&);

} // namespace e2e
