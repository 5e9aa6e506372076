// Installations started by a script: the command line, the exit code, the log file.
#include "Automation.h"
#include "Files.h"
#include "Installation.h"
#include "Machine.h"
#include "Report.h"
#include "Scenario.h"
#include "Scenarios.h"
#include "Unattended.h"
#include "Walks.h"
#include "Wizard.h"

namespace e2e {
namespace {

// The run's list lines must stand in the log file in the list's order.
void CheckLogFile(TContext& context, const std::vector<std::wstring>& lines,
                  const TInstallation& installation) {
    std::wstring missing;
    context.Check(ContainsInOrder(lines, ExpectedLog(installation), missing),
                  L"log file lacks, in order, the list line \"" + Visible(missing) + L"\"");
}

// The log list's length, or 0 while the window is busy or going.
LRESULT LinesNow(HWND list) {
    DWORD_PTR count = 0;
    return SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 200, &count) ? count : 0;
}

std::wstring Listed(const std::vector<std::wstring>& names) {
    std::wstring text;
    for (const auto& name : names) {
        text += (text.empty() ? L"" : L", ") + name;
    }
    return text;
}

} // namespace

void VerySilentDefault(TContext& context) {
    TScreenDpi screen(96);
    const std::wstring target = L"C:\\Holter\\";
    RemoveSuite(target);
    const std::wstring source = context.CopyDistribution();
    const TInstallation installation = PlanInstallation(source, target, false);
    const std::wstring log = L"C:\\verysilent-default.log";

    const TSetupRun run = RunSetup(source, L"/VERYSILENT /LOG=" + log);
    context.Check(run.ExitCode == 0, L"exit code 0, not " + std::to_wstring(run.ExitCode));
    CheckNoWindow(context, run);
    CheckLeftBehind(context, installation);
    const auto lines = ReadLogFile(log);
    CheckLogFile(context, lines, installation);
    CheckResultLine(context, lines, 0);
    context.Check(HasLineStarting(lines, L"Режим: без окон (/VERYSILENT)"), L"log names the mode");
    context.Check(HasLineStarting(lines, L"Версия: 8.74.3"), L"log names the version");
}

void SilentPathDriverLog(TContext& context) {
    TScreenDpi screen(96);
    const std::wstring folder = L"C:\\Program Files\\Сонтира Тест";
    const std::wstring target = folder + L"\\";
    RemoveSuite(target);
    CreateFolders(L"C:\\журналы установки");
    const std::wstring log = L"C:\\журналы установки\\setup log.txt";
    const std::wstring source = context.CopyDistribution();
    const TInstallation installation = PlanInstallation(source, target, true);

    std::vector<std::wstring> pages;
    bool shot = false;
    const auto watch = [&](DWORD processId) {
        HWND main = FindTopLevel(processId, TWizard::MainClass);
        if (main == nullptr) {
            return;
        }
        for (HWND page : VisibleDescendants(main, L"TTabSheet")) {
            const std::wstring name = TextOf(page);
            // A page being destroyed answers "".
            if (!name.empty() && (pages.empty() || pages.back() != name)) {
                pages.push_back(name);
            }
        }
        // The picture of the README: the run well under way.
        HWND list = FindVisibleDescendant(main, L"ListBox");
        if (!shot && list != nullptr && LinesNow(list) >= 12) {
            context.ProcessShot(L"silent-progress", processId);
            shot = true;
        }
    };
    const TSetupRun run =
        RunSetup(source, L"/SILENT \"/DIR=" + folder + L"\" /DRIVER /LOG=\"" + log + L"\"", watch);
    context.Check(run.ExitCode == 0, L"exit code 0, not " + std::to_wstring(run.ExitCode));
    context.Check(pages == std::vector<std::wstring>{L"tsProgressInstall"},
                  L"the window showed the progress page only, not: " + Listed(pages));
    for (const auto& window : run.WindowsSeen) {
        context.Check(window.starts_with(L"TFMain "), L"no window but the main one: " + window);
    }
    CheckLeftBehind(context, installation);
    const auto lines = ReadLogFile(log);
    CheckLogFile(context, lines, installation);
    CheckResultLine(context, lines, 0);
}

void VerySilentReinstall(TContext& context) {
    const std::wstring target = L"C:\\Holter\\";
    RemoveSuite(target);
    const std::wstring source = context.CopyDistribution();
    context.Check(RunSetup(source, L"/VERYSILENT").ExitCode == 0, L"the first installation");
    const std::string clinic = "the clinic's own database";
    WriteBytes(target + L"DTAfb\\R47.FDB", clinic);

    const std::wstring log = L"C:\\verysilent-reinstall.log";
    const TSetupRun run = RunSetup(source, L"/VERYSILENT /LOG=" + log);
    context.Check(run.ExitCode == 0, L"exit code 0, not " + std::to_wstring(run.ExitCode));
    const auto lines = ReadLogFile(log);
    std::wstring kept;
    for (const auto& line : lines) {
        if (line.starts_with(L"Прежняя база данных сохранена: ")) {
            kept = line.substr(31);
        }
    }
    context.Check(!kept.empty(), L"the log file says where the earlier database was kept");
    std::string bytes;
    context.Check(!kept.empty() && ReadBytes(target + L"DTAfb\\" + kept, bytes) && bytes == clinic,
                  L"the clinic's database kept byte for byte as " + kept);
}

// A distribution on read-only media (a CD, a write-protected share): every file read-only. The
// installation is complete and none of its files stays read-only, or the next version could
// not replace it.
void VerySilentReadOnlyMedia(TContext& context) {
    TScreenDpi screen(96);
    const std::wstring target = L"C:\\Holter\\";
    RemoveSuite(target);
    const std::wstring source = context.CopyDistribution();
    for (const auto& file : FilesBelow(source)) {
        const std::wstring path = source + L"\\" + file;
        SetFileAttributesW(path.c_str(),
                           GetFileAttributesW(path.c_str()) | FILE_ATTRIBUTE_READONLY);
    }
    context.Check(ReadOnly(source + L"\\backup\\R150320\\Install.cmd"),
                  L"the distribution's files are read-only");
    const TInstallation installation = PlanInstallation(source, target, false);
    const std::wstring log = L"C:\\read-only-media.log";

    const TSetupRun run = RunSetup(source, L"/VERYSILENT /LOG=" + log);
    context.Check(run.ExitCode == 0, L"exit code 0, not " + std::to_wstring(run.ExitCode));
    CheckLeftBehind(context, installation);
    const auto lines = ReadLogFile(log);
    CheckLogFile(context, lines, installation);
    CheckResultLine(context, lines, 0);
    for (const auto& file : FilesBelow(target)) {
        context.Check(!ReadOnly(target + file), L"installed read-only: " + file);
    }
}

// Targets the path page refuses, or that cannot be made: exit 3 and nothing written. A drive
// root and the system's folders are refused however they are spelled.
void UnattendedTargetRefused(TContext& context) {
    const std::wstring source = context.CopyDistribution();
    const wchar_t* const root = L"Ошибка: Программу нелзя устанавливать в корневой каталог!";
    const struct {
        const wchar_t* Arguments;
        const wchar_t* Error;
        const wchar_t* NotMade; // a folder that must not appear
    } cases[] = {
        {L"/VERYSILENT /DIR=C:\\", root, L"C:\\Settings"},
        {L"/VERYSILENT /DIR=C:\\\\", root, L"C:\\Settings"},
        {L"/VERYSILENT /DIR=C:\\.", root, L"C:\\Settings"},
        {L"/VERYSILENT /DIR=C:/", root, L"C:\\Settings"},
        {L"/VERYSILENT /DIR=C:\\Holter\\..", root, L"C:\\Settings"},
        {L"/VERYSILENT /DIR=\\\\?\\C:\\", root, L"C:\\Settings"},
        {L"/VERYSILENT /DIR=C:\\windows", root, L"C:\\windows\\Settings"},
        {L"/VERYSILENT /DIR=C:\\windows\\system32\\.", root, L"C:\\windows\\system32\\Settings"},
        {L"/VERYSILENT /DIR=", L"Ошибка: Не выбран путь для установки программы!", L"C:\\Holter"},
        {L"/SILENT \"/DIR=   \"", L"Ошибка: Не выбран путь для установки программы!",
         L"C:\\Holter"},
        {L"/VERYSILENT /DIR=C:\\Holter\\NUL", L"Ошибка: Ошибка при создании каталога!",
         L"C:\\Holter"},
        {L"/VERYSILENT /DIR=Q:\\Holter", L"Ошибка: Ошибка при создании каталога!", L"Q:\\Holter"},
    };
    RemoveSuite(L"C:\\Holter\\");
    for (const auto& c : cases) {
        CheckRefused(context, source, c.Arguments, 3, c.Error);
        context.Check(!FolderExists(c.NotMade), std::wstring(c.Arguments) + L": nothing made");
    }
}

// Command lines setup refuses: exit 1, the bad argument named, nothing installed.
void UnattendedBadCommandLine(TContext& context) {
    const std::wstring source = context.CopyDistribution();
    RemoveSuite(L"C:\\Holter\\");
    const struct {
        const wchar_t* Arguments;
        const wchar_t* Named;
    } cases[] = {
        {L"/VERYSILENT /FOO", L"/FOO"},
        {L"/VERYSILENT /DIR", L"/DIR"},
        {L"/VERYSILENT /DIR=C:\\A /DIR=C:\\B", L"/DIR=C:\\B"},
        {L"/VERYSILENT C:\\Holter", L"C:\\Holter"},
        {L"/VERYSILENT /DRIVER /NODRIVER", L"/NODRIVER"},
    };
    for (const auto& c : cases) {
        CheckRefused(context, source, c.Arguments, 1,
                     L"Неверный параметр командной строки: " + std::wstring(c.Named));
    }
    context.Check(!FolderExists(L"C:\\Holter"), L"nothing installed");

    // With someone at the screen, the box says it; /? lists the switches and ends with 0.
    const struct {
        const wchar_t* Arguments;
        const wchar_t* Shows;
        DWORD ExitCode;
    } boxes[] = {{L"/BOGUS", L"Неверный параметр командной строки: /BOGUS", 1},
                 {L"/?", L"/VERYSILENT", 0}};
    for (const auto& b : boxes) {
        std::wstring text;
        const TSetupRun run = RunSetup(source, b.Arguments, [&](DWORD processId) {
            if (HWND box = FindTopLevel(processId, L"#32770")) {
                text = TextOf(GetDlgItem(box, 0xFFFF));
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
        });
        context.Check(text.find(b.Shows) != std::wstring::npos,
                      std::wstring(b.Arguments) + L": the box shows " + b.Shows + L", not \"" +
                          Visible(text) + L"\"");
        context.Check(run.ExitCode == b.ExitCode,
                      std::wstring(b.Arguments) + L": exit code " + std::to_wstring(b.ExitCode));
    }
}

// A second Install.exe while the wizard runs: exit 1 and nothing touched.
void UnattendedSecondCopy(TContext& context) {
    const std::wstring source = context.CopyDistribution();
    RemoveSuite(L"C:\\Holter\\");
    TWizard wizard(context, source);
    const std::wstring log = L"C:\\second.log";
    const TSetupRun run = RunSetup(source, L"/VERYSILENT /LOG=" + log);
    context.Check(run.ExitCode == 1, L"exit code 1, not " + std::to_wstring(run.ExitCode));
    const auto lines = ReadLogFile(log);
    context.Check(HasLineStarting(lines, L"Программа установки уже запущена."),
                  L"the log file says setup is running already");
    context.Check(!FolderExists(L"C:\\Holter"), L"nothing installed");
    CancelAndExit(wizard, context);
}

} // namespace e2e
