// Deletions left for the next restart by an earlier removal must not take the files of a later
// installation: an installation that writes a file takes that file's deletion off the list.
#include <windows.h>

#include <algorithm>

#include "Files.h"
#include "Machine.h"
#include "Removal.h"
#include "Report.h"
#include "Scenario.h"
#include "Scenarios.h"
#include "Unattended.h"
#include "common/PendingDeletions.h"

namespace e2e {
namespace {

constexpr wchar_t Holter[] = L"C:\\Holter\\";
constexpr wchar_t PendingValue[] = L"PendingFileRenameOperations";
constexpr wchar_t Cancelled[] = L"Удаление при перезагрузке отменено: ";

bool Pending(const std::wstring& path) {
    std::vector<std::wstring> list;
    ReadMachineStrings(SessionManagerKey, PendingValue, list);
    return std::find(list.begin(), list.end(), L"\\??\\" + path) != list.end();
}

} // namespace

void PendingDeletionCancelled(TContext& context) {
    const std::wstring source = InstallQuietly(context, Holter);
    const std::wstring target = Holter;
    // What a removal that could not finish leaves for the restart, and what someone else does.
    const std::wstring written[] = {target + UninstallName, target + L"InstallRecord.txt",
                                    target + L"fbclient.Dll", target + L"udf\\fbudf.dll"};
    const std::wstring recording = target + L"пациент 3.dat"; // no run writes it
    const std::wstring outside = L"C:\\elsewhere.tmp";
    WriteBytes(recording, "ECG recording 0003\n");
    WriteBytes(outside, "someone else's\n");
    for (const std::wstring& file : written) {
        MoveFileExW(file.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }
    for (const std::wstring& file : {recording, outside}) {
        MoveFileExW(file.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }

    const std::wstring log = L"C:\\pending-deletions.log";
    CheckExit(context, RunSetup(source, L"/VERYSILENT /LOG=" + log), 0);
    const auto lines = ReadLogFile(log);
    for (const std::wstring& file : written) {
        context.Check(!Pending(file), L"still deleted at the next restart: " + file);
        context.Check(std::find(lines.begin(), lines.end(), Cancelled + file) != lines.end(),
                      L"the log does not say the deletion of " + file + L" was taken back");
    }
    for (const std::wstring& file : {recording, outside}) {
        context.Check(Pending(file),
                      L"a deletion of a file the run did not write was taken back: " + file);
        TPendingDeletions().Cancel(file);
    }
    DeleteFileW(outside.c_str());
}

} // namespace e2e
