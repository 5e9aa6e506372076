// A deployment script removes the suite and installs it again at once: the removal's exit code
// comes only when nothing of it is held any more, and nothing it does later touches the new
// installation.
#include <windows.h>
#include <tlhelp32.h>

#include "Files.h"
#include "Machine.h"
#include "RecordFile.h"
#include "Removal.h"
#include "Report.h"
#include "Scenario.h"
#include "Scenarios.h"
#include "Unattended.h"
#include "common/Handles.h"

namespace e2e {
namespace {

constexpr wchar_t Holter[] = L"C:\\Holter\\";
constexpr wchar_t PendingValue[] = L"PendingFileRenameOperations";
// A guard against a hung program, not a measure.
constexpr DWORD HangMs = 180000;

// Waits for the removal's copies still finishing their work (deleting the old uninstaller).
void AwaitCopies() {
    TUniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot && Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (std::wstring(entry.szExeFile).starts_with(L"Sontira-Uninstall")) {
            const TUniqueHandle copy(OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID));
            if (copy && WaitForSingleObject(copy.get(), HangMs) != WAIT_OBJECT_0) {
                Fail(L"the removal's copy did not end");
            }
        }
    }
}

// At the moment the exit code is known: the lock free, the log closed with its last line.
void CheckNothingHeld(TContext& context, const std::wstring& log, const std::wstring& when) {
    const TUniqueHandle lock(OpenMutexW(SYNCHRONIZE, FALSE, L"Global\\Sontira-Install"));
    context.Check(!lock, when + L"the removal still held its lock when its exit code was known");
    {
        const TUniqueFile file(
            CreateFileW(log.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        context.Check(static_cast<bool>(file),
                      when + L"the removal still had its log open when its exit code was known");
    }
    CheckResultLine(context, ReadLogFile(log), 0);
}

// The new installation whole: its uninstaller, its record, its entry; no deletion pending.
void CheckNewInstallation(TContext& context, const std::string& program, const std::wstring& when) {
    std::string uninstaller;
    context.Check(ReadBytes(std::wstring(Holter) + UninstallName, uninstaller) &&
                      uninstaller == program,
                  when + L"the new installation's Uninstall.exe is gone or not the program");
    context.Check(ReadRecord(Holter).Problem.empty(), when + L"the new installation's record");
    context.Check(!RegistrationValues().empty(), when + L"the new installation's entry is gone");
    std::vector<std::wstring> pending;
    ReadMachineStrings(SessionManagerKey, PendingValue, pending);
    for (const auto& name : pending) {
        context.Check(lstrcmpiW(name.c_str(),
                                (L"\\??\\" + std::wstring(Holter) + UninstallName).c_str()) != 0,
                      when + L"the new Uninstall.exe is to be deleted at the next restart");
    }
    for (const auto& file : FilesBelow(Holter)) {
        context.Check(!file.ends_with(L".tmp"), when + L"the old uninstaller is left: " + file);
    }
}

} // namespace

void RemovalBackToBack(TContext& context) {
    const std::wstring source = InstallQuietly(context, Holter);
    std::string program;
    ReadBytes(source + L"\\Install.exe", program);
    for (int pair = 1; pair <= 3; ++pair) {
        const std::wstring when = L"pair " + std::to_wstring(pair) + L": ";
        const std::wstring log = L"C:\\back-to-back-" + std::to_wstring(pair) + L".log";
        const std::wstring removal =
            L"\"" + std::wstring(Holter) + UninstallName + L"\" /VERYSILENT /LOG=" + log;
        // Awaited for its exit code alone, as a script awaits it.
        const DWORD removed = AwaitExitCode(StartProcess(nullptr, removal), removal);
        CheckNothingHeld(context, log, when);
        context.Check(removed == 0, when + L"the removal ended with " + std::to_wstring(removed));
        const TSetupRun installed = RunSetup(source, L"/VERYSILENT /LOG=C:\\back-to-back-install-" +
                                                         std::to_wstring(pair) + L".log");
        CheckExit(context, installed, 0, when + L"the installation right after: ");
        AwaitCopies();
        CheckNewInstallation(context, program, when);
    }
}

} // namespace e2e
