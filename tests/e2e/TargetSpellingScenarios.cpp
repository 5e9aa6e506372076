// A target folder given on the command line as a script may spell it: the run and its entry in
// Programs and Features use the folder's one canonical spelling, removal finds it whatever the
// spelling, and every missing level of it is made.
#include <windows.h>

#include "Files.h"
#include "Installation.h"
#include "Machine.h"
#include "Removal.h"
#include "Report.h"
#include "Scenario.h"
#include "Scenarios.h"
#include "Unattended.h"

namespace e2e {
namespace {

constexpr wchar_t Holter[] = L"C:\\Holter\\";

void CheckEntrySpelling(TContext& context, const std::wstring& target) {
    const std::wstring uninstaller = L"\"" + target + UninstallName + L"\"";
    const std::pair<const wchar_t*, std::wstring> values[] = {
        {L"InstallLocation", target},
        {L"DisplayIcon", target + L"Shell.exe"},
        {L"UninstallString", uninstaller},
        {L"QuietUninstallString", uninstaller + L" /VERYSILENT"},
    };
    for (const auto& [name, expected] : values) {
        std::wstring value;
        ReadMachineString(RegistrationKey, name, value);
        context.CheckEqual(value, expected, L"Programs and Features " + std::wstring(name));
    }
}

} // namespace

void UnattendedCanonicalTarget(TContext& context) {
    // Forward slashes, a doubled delimiter and a "." step: the entry, the shortcut and the
    // record all name C:\Holter\, and the entry's own command line removes the suite.
    RemoveSuite(Holter);
    const std::wstring source = context.CopyDistribution();
    const TInstallation installation = PlanInstallation(source, Holter, false);
    const TSetupRun run =
        RunSetup(source, L"/VERYSILENT /DIR=C:/Holter//. /LOG=C:\\canonical-target.log");
    CheckExit(context, run, 0);
    CheckLeftBehind(context, installation);
    CheckEntrySpelling(context, Holter);
    const TMachineState before = TakeState(Holter);
    std::wstring quiet;
    ReadMachineString(RegistrationKey, L"QuietUninstallString", quiet);
    CheckExit(context, RunCommandLine(quiet), 0, L"QuietUninstallString: ");
    CheckRemoved(context, before);

    // Removal from the distribution compares folders as Windows does: the entry is this one.
    InstallQuietly(context, Holter);
    const TMachineState again = TakeState(Holter);
    CheckExit(context,
              RunSetup(source, L"/UNINSTALL /VERYSILENT /DIR=c:/HOLTER/. /LOG=C:\\canonical.log"),
              0, L"/UNINSTALL /DIR=c:/HOLTER/.: ");
    CheckRemoved(context, again);
}

void UnattendedDirEveryLevel(TContext& context) {
    // A deployment names a folder two levels below what exists: both are made, each logged.
    const std::wstring parent = FreshFolderName(L"C:\\Программы");
    const std::wstring target = parent + L"\\Сонтира\\";
    const std::wstring source = context.CopyDistribution();
    const std::wstring log = L"C:\\every-level.log";
    RemoveSuite(target);
    const TInstallation installation = PlanInstallation(source, target, false);
    const TSetupRun run =
        RunSetup(source, L"/VERYSILENT \"/DIR=" + parent + L"\\Сонтира\" /LOG=" + log);
    CheckExit(context, run, 0);
    CheckLeftBehind(context, installation);
    std::wstring missing;
    context.Check(
        ContainsInOrder(ReadLogFile(log),
                        {L"Каталог создан: " + parent, L"Каталог создан: " + parent + L"\\Сонтира"},
                        missing),
        L"the log file lacks \"" + missing + L"\"");

    // A level that cannot be made (a name longer than any file system takes) refuses the
    // target, and the levels made before it are taken back.
    const std::wstring undone = FreshFolderName(L"C:\\уровни");
    CheckRefused(context, source,
                 L"/VERYSILENT \"/DIR=" + undone + L"\\" + std::wstring(300, L'я') + L"\\x\"", 3,
                 L"Ошибка: Ошибка при создании каталога!");
    context.Check(!FolderExists(undone), L"a refused target left " + undone + L" behind");
}

} // namespace e2e
