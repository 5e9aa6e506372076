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

namespace e2e {
namespace {

struct TSpaceCase {
    ULONGLONG Room;       // bytes left free when the run starts
    const wchar_t* Large; // a distribution file made 1 MiB, or null
    TRunEnd::TKind End;
    const wchar_t* Box;
    const wchar_t* LastLine;
};

const TSpaceCase Cases[] = {
    // 0: the database does not fit
    {32 * 1024, nullptr, TRunEnd::reStopped, L"", L"Прежняя база данных возвращена на место"},
    // 1: a runtime file does not fit
    {512 * 1024, L"Firebird\\fbclient.Dll", TRunEnd::reStopped, L"",
     L"Копирование файла fbclient.Dll....ОШИБКА!!!"},
    // 2: a full disk when holter.ini is rewritten: the file's own block is reused, the keys
    // arrive, and the database is the first thing that does not fit
    {0, nullptr, TRunEnd::reStopped, L"", L"Прежняя база данных возвращена на место"},
};

// The drive letter of the small file system, from the wrapper (scripts/fault-suite).
std::wstring SmallDrive() {
    const wchar_t* drive = _wgetenv(L"E2E_SMALL_DRIVE");
    if (drive == nullptr || *drive == L'\0') {
        Fail(L"no small drive: E2E_SMALL_DRIVE is not set (run the suite through "
             L"scripts/fault-suite, as root)");
    }
    return drive;
}

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
    {
        TDiskFiller filler(drive + L"\\", c.Room);
        TFaultInstall install(context, dist);
        const TRunEnd end = install.Run(target);
        CheckEnd(context, end, c.End, c.Box);
        if (*c.LastLine != L'\0') {
            context.CheckEqual(end.LastLine(), c.LastLine, L"last log line");
        }
        install.CloseAndCheckExit();
    }
    if (N != 1) {
        // The new database did not fit: the clinic's one is back where the suite looks for it.
        context.Check(ReadBytes(target + L"DTAfb\\R47.FDB") == earlier.Database,
                      L"the clinic's database is not back in R47.FDB");
    }
    if (N == 2) {
        context.Note(
            L"holter.ini FilterType now " +
            std::to_wstring(GetPrivateProfileIntW(L"options", L"FilterType", -1,
                                                  (target + L"Settings\\holter.ini").c_str())));
    }
    earlier.Check(context);
    DeleteTree(target.substr(0, target.size() - 1));
}

template void FullDisk<0>(TContext&);
template void FullDisk<1>(TContext&);
template void FullDisk<2>(TContext&);

} // namespace e2e
