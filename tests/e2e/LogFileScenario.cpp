// /LOG names a file that is no log of setup's: the clinic's database, a report, a folder, a
// place in the settings. Setup refuses the command line and leaves every such file as it was.
#include <windows.h>

#include <algorithm>

#include "Automation.h"
#include "Files.h"
#include "Machine.h"
#include "Removal.h"
#include "Report.h"
#include "Scenario.h"
#include "Scenarios.h"
#include "Unattended.h"
#include "common/Handles.h"

namespace e2e {
namespace {

constexpr wchar_t Holter[] = L"C:\\Holter\\";
constexpr wchar_t BadLog[] = L"Неверный параметр командной строки: /LOG=";

// Install.exe of source started in `folder` (the caller's current folder) and awaited.
DWORD RunIn(const std::wstring& folder, const std::wstring& source, const std::wstring& arguments) {
    const std::wstring program = source + L"\\Install.exe";
    const std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    return AwaitExitCode(StartProcess(program.c_str(), commandLine, folder.c_str()), commandLine);
}

struct TBadLog {
    const wchar_t* Folder; // where the caller is when it starts setup
    const wchar_t* Log;    // as /LOG gives it
    const wchar_t* Kept;   // a file that must stay as it was, or must not appear
};

const TBadLog BadLogs[] = {
    {L"C:\\", L"C:\\Holter\\DTAfb\\R47.FDB", L"C:\\Holter\\DTAfb\\R47.FDB"},
    {L"C:\\Holter\\DTAfb", L"R47.FDB", L"C:\\Holter\\DTAfb\\R47.FDB"}, // the caller's folder
    {L"C:\\", L"C:/Holter/Settings/../Settings/holter.ini", L"C:\\Holter\\Settings\\holter.ini"},
    {L"C:\\", L"C:\\Holter\\Settings\\setup.log", L"C:\\Holter\\Settings\\setup.log"},
    {L"C:\\", L"C:\\report.txt", L"C:\\report.txt"},
    {L"C:\\", L"C:\\Holter\\udf", L"C:\\Holter\\udf\\fbudf.dll"},
};

void CheckBadLogs(TContext& context, const std::wstring& source) {
    WriteBytes(L"C:\\report.txt", "the clinic's monthly report\r\n");
    for (const TBadLog& c : BadLogs) {
        const std::wstring when = std::wstring(L"/LOG=") + c.Log + L": ";
        std::string before;
        const bool existed = ReadBytes(c.Kept, before);
        const auto logsBefore = InstallLogsInTemp();
        const DWORD code =
            RunIn(c.Folder, source, L"/VERYSILENT /DIR=C:\\Holter /LOG=" + std::wstring(c.Log));
        context.Check(code == 1, when + L"exit code 1, not " + std::to_wstring(code));
        std::string after;
        context.Check(ReadBytes(c.Kept, after) == existed && after == before,
                      when + c.Kept + (existed ? L" changed" : L" appeared"));
        const auto lines = NewDefaultLogLines(logsBefore);
        context.Check(HasLineStarting(lines, BadLog + std::wstring(c.Log) + L": "),
                      when + L"the default log file in %TEMP% does not name it");
    }
}

} // namespace

void LogNeverDestroysAFile(TContext& context) {
    const std::wstring source = InstallQuietly(context, Holter);
    const TMachineState installed = TakeState(Holter);
    CheckBadLogs(context, source);
    CheckUnchanged(context, installed, L"after the refused runs: ");

    // With someone at the screen, the box says it.
    std::wstring box;
    const TSetupRun shown =
        RunSetup(source, L"/DIR=C:\\Holter /LOG=C:\\Holter\\DTAfb\\R47.FDB", [&](DWORD id) {
            // Read once the box has its text: it may be found while it is being made.
            HWND found = FindTopLevel(id, L"#32770");
            const std::wstring text = found ? TextOf(GetDlgItem(found, 0xFFFF)) : L"";
            if (!text.empty()) {
                box = text;
                PostMessageW(found, WM_COMMAND, IDOK, 0);
            }
        });
    context.Check(shown.ExitCode == 1 && box.starts_with(BadLog),
                  L"the box names the bad /LOG: \"" + Visible(box) + L"\", exit code " +
                      std::to_wstring(shown.ExitCode));

    // A log file of setup's own is replaced; a relative name is the caller's folder's.
    const std::wstring old = L"C:\\old-setup.log";
    CheckExit(context, RunSetup(source, L"/VERYSILENT /DIR=C:\\ /LOG=" + old), 3);
    WriteBytes(old, [&] {
        std::string bytes;
        ReadBytes(old, bytes);
        return bytes + "an earlier run's last line\r\n";
    }());
    CheckExit(context, RunSetup(source, L"/VERYSILENT /DIR=C:\\ /LOG=" + old), 3);
    std::string bytes;
    ReadBytes(old, bytes);
    context.Check(bytes.find("an earlier run") == std::string::npos,
                  L"setup's own earlier log was not replaced");
    CheckResultLine(context, ReadLogFile(old), 3);
    const std::wstring caller = FreshFolderName(L"C:\\caller");
    CreateFolders(caller);
    context.Check(RunIn(caller, source, L"/VERYSILENT /DIR=C:\\ /LOG=relative.log") == 3,
                  L"a relative /LOG: exit code 3");
    context.Check(FileExists(caller + L"\\relative.log") && !FileExists(source + L"\\relative.log"),
                  L"a relative /LOG is in the caller's folder, not the program's");
}

} // namespace e2e
