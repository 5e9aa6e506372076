#include "setup/Setup.h"

#include "common/AppStrings.h"
#include "common/CanonicalPath.h"
#include "common/Errors.h"
#include "common/Paths.h"
#include "common/SetupLog.h"
#include "setup/SilentAnswers.h"
#include "install/SilentProgress.h"
#include "install/Rollback.h"
#include "install/RollbackPending.h"
#include "install/SpaceCheck.h"
#include "install/TargetFolder.h"
#include "install/TargetLevels.h"
#include "setup/HandOver.h"
#include "setup/InstallationCheck.h"
#include "setup/NamedLog.h"
#include "setup/SelfCopy.h"
#include "setup/SetupSession.h"
#include "setup/Uninstaller.h"
#include "ui/Application.h"
#include "windows/WaitRun.h"
#include "wizard/Brand.h"
#include "wizard/Main.h"

namespace {

const wchar_t* const CopiesFailed = L"установка завершена, но не все файлы скопированы";

// The path field's default.
std::wstring DefaultTarget() {
    return L"C:\\" + AppFolderName(GetModuleHandleW(nullptr));
}

struct TOutcome {
    int ExitCode;
    std::wstring Text;
};

int RunWizard(const TCommandLine& options) {
    TFMain& main = Application.CreateForm<TFMain>();
    main.Preset({options.Dir, options.Driver});
    Application.CreateFormWhenIdle<TFWaitRun>();
    const int code = Application.Run();
    const std::optional<TRunResult> run = main.LastRunResult();
    LogResult(run == TRunResult::rrCompleted      ? L"установка завершена"
              : run == TRunResult::rrCopiesFailed ? CopiesFailed
              : run                               ? L"установка остановлена"
              : main.Cancelled()                  ? L"установка отменена"
                                 : L"программа закрыта без установки",
              code);
    return code;
}

// The path page's rules for a target given on the command line. Empty when refused.
std::wstring PrepareTarget(const std::wstring& dir) {
    const TTargetCheck target = CheckTarget(dir);
    if (target.Verdict != TTargetCheck::tcAccepted) {
        LogLine(L"Ошибка: " + target.Refusal);
        return {};
    }
    if (!CreateTargetLevels(target.Path)) {
        LogLine(L"Ошибка: " + std::wstring(TargetNotMade));
        return {};
    }
    return target.Path;
}

TOutcome ResultOf(TRunResult result) {
    switch (result) {
    case TRunResult::rrCompleted:
        return {ecInstalled, L"установка завершена"};
    case TRunResult::rrCopiesFailed:
        return {ecStopped, CopiesFailed};
    case TRunResult::rrTargetRefused:
        return {ecTargetRefused, L"папка установки не создана"};
    case TRunResult::rrFailed:
        return {ecStopped, L"установка остановлена ошибкой"};
    case TRunResult::rrStopped:
        break;
    }
    return {ecStopped, L"установка остановлена"};
}

// What the command line chose; the Windows box's first entry, as the path page's default.
TRunChoices UnattendedChoices(const TCommandLine& options, const std::wstring& target) {
    TRunChoices choices;
    choices.Target = target;
    choices.InstallDriver = options.Driver.value_or(false);
    choices.LovenaBrand = IsLovenaName(ProductName(GetModuleHandleW(nullptr)));
    choices.Unattended = true;
    return choices;
}

TRunResult RunUnattended(const TCommandLine& options, const TRunChoices& choices) {
    TSilentAnswers answers(choices.InstallDriver);
    if (options.Mode == TSetupMode::smSilent) {
        TFMain& main = Application.CreateForm<TFMain>();
        main.Preset({choices.Target, choices.InstallDriver});
        main.ShowUnattended();
        return TInstallRun(choices, ExecutableFolder(), main.RunHost(), answers).Execute();
    }
    TSilentProgress progress;
    return TInstallRun(choices, ExecutableFolder(), progress, answers).Execute();
}

TOutcome InstallUnattended(const TCommandLine& options) {
    Application.Unattended = true;
    const std::wstring target = PrepareTarget(options.Dir.value_or(DefaultTarget()));
    if (target.empty()) {
        return {ecTargetRefused, L"папка установки отвергнута"};
    }
    const TRunChoices choices = UnattendedChoices(options, target);
    const std::wstring shortage = FreeSpaceShortage(ExecutableFolder(), target, choices.Plan());
    if (!shortage.empty()) {
        LogLine(L"Ошибка: " + shortage);
        return {ecTargetRefused, L"недостаточно места на диске"};
    }
    try {
        const TOutcome outcome = ResultOf(RunUnattended(options, choices));
        if (Application.ErrorReported() && outcome.ExitCode == ecInstalled) {
            return {ecStopped, L"во время установки произошла ошибка"};
        }
        return outcome;
    } catch (...) {
        Application.HandleException(); // to the log file only: unattended
        return {ecStopped, L"установка остановлена ошибкой"};
    }
}

// The uninstaller's copy in the temporary folder gets this start's switches and the folder.
std::wstring CopyArguments(const std::wstring& commandLine, const TCommandLine& options,
                           const std::wstring& target) {
    std::wstring arguments = ArgumentsText(commandLine) + L" /UNINSTALL";
    if (!options.Dir) {
        arguments += L" \"/DIR=" + ExcludeTrailingPathDelimiter(target) + L"\"";
    }
    return arguments;
}

// A run that was killed or lost power is undone before anything else. False when it could not
// be undone whole: nothing else may begin over it then, or its journal would be lost.
bool UndoInterrupted(TSetupMode mode) {
    const TInterruptedRun run = UndoInterruptedRun([](const std::wstring& line) { LogLine(line); });
    if (!run.Found) {
        return true;
    }
    const std::wstring folder = ExcludeTrailingPathDelimiter(run.Target);
    if (!run.Refused.empty()) {
        Tell(mode,
             L"Прерванную установку в папке " + folder +
                 L" нельзя отменить: её журнал мог изменить другой пользователь (" + run.Refused +
                 L"). Ничего не отменено. Установите комплекс в эту папку заново.",
             MB_ICONERROR);
        return false;
    }
    if (!run.Undone) {
        Tell(mode,
             L"Прерванную установку в папке " + folder +
                 L" не удалось отменить полностью: что не возвращено, названо в журнале " +
                 SetupLog().Path() + L". Запустите программу снова, когда это освободится.",
             MB_ICONERROR);
        return false;
    }
    const std::wstring text =
        L"Прерванная установка в папке " + folder + L" отменена: всё возвращено, как было до неё.";
    if (mode == TSetupMode::smWizard) {
        Tell(mode, text, MB_ICONINFORMATION);
    } else {
        LogLine(text);
    }
    return true;
}

TOutcome Dispatch(const TCommandLine& options, bool removal, const std::wstring& target) {
    if (!options.Error.empty()) {
        Tell(options.Mode,
             L"Неверный параметр командной строки: " + options.Error + L"\r\n\r\n" +
                 CommandLineHelp,
             MB_ICONERROR);
        return {ecBadStart, L"неверная командная строка"};
    }
    if (options.Help) {
        Tell(options.Mode, CommandLineHelp, MB_ICONINFORMATION);
        return {ecInstalled, L"показана справка"};
    }
    const TSingleInstance instance; // held until the program ends
    if (instance.AlreadyRunning()) {
        Tell(options.Mode, L"Программа установки уже запущена.", MB_ICONERROR);
        return {ecBadStart, L"программа установки уже запущена"};
    }
    // A run killed while it replaced the very uninstaller this copy came from: that file runs
    // and cannot be put back until it is renamed out of the way (HandOver.h).
    if (options.Parent && IsBelow(PendingJournal(), target)) {
        PrepareHandOver(*options.Parent, target);
    }
    if (!UndoInterrupted(options.Mode)) {
        return {ecStopped, L"прерванная установка не отменена"};
    }
    KeepHandOverFolderTime();
    if (options.Verify || options.Repair) {
        try {
            const TCheckOutcome outcome = CheckInstallation(options, target);
            return {outcome.ExitCode, outcome.Text};
        } catch (...) {
            Application.HandleException();
            return {ecStopped, L"проверка остановлена ошибкой"};
        }
    }
    if (removal) {
        try {
            const TRemovalOutcome outcome = RemoveInstallation(options, target);
            return {outcome.ExitCode, outcome.Text};
        } catch (...) {
            Application.HandleException();
            return {ecStopped, L"удаление остановлено ошибкой"};
        }
    }
    if (options.Mode == TSetupMode::smWizard) {
        return {RunWizard(options), L""};
    }
    return InstallUnattended(options);
}

} // namespace

int RunSetup(const std::wstring& commandLine) {
    TCommandLine options = ParseCommandLine(commandLine);
    // Nobody would see a box of a run without windows, whatever goes wrong from here.
    Application.Unattended = options.Mode == TSetupMode::smVerySilent;
    const bool removal = IsRemoval(options);
    const bool check = options.Verify || options.Repair;
    // A check finds its folder as a removal does.
    const std::wstring target = removal || check ? RemovalTarget(options, DefaultTarget())
                                                 : options.Dir.value_or(DefaultTarget());
    std::wstring copyError;
    if (removal && options.Error.empty() && !options.Help && !options.Parent &&
        RunsFromUninstaller(target)) {
        const TCopyRun copy = ContinueFromCopy(CopyArguments(commandLine, options, target));
        if (copy.Started) {
            return static_cast<int>(copy.ExitCode); // the copy wrote the log
        }
        copyError = copy.Error;
    }
    const std::wstring logRefused = OpenRunLog(options.Log, target,
                                               check     ? CheckLogPrefix(options)
                                               : removal ? L"Sontira-Uninstall"
                                                         : L"Sontira-Install");
    if (!logRefused.empty() && options.Error.empty()) {
        options.Error = logRefused; // a bad command line, reported as one
    }
    Application.Title =
        check ? CheckTitle(options)
        : removal ? L"Удаление комплекса \"" + ProductName(GetModuleHandleW(nullptr)) + L"\""
                  : L"Установка комплекса \"Сонтира\"";
    LogHeader(Application.Title, commandLine, options,
              !removal && !check && options.Mode == TSetupMode::smWizard && !options.Dir
                  ? target + L" (по умолчанию, выбирается в мастере)"
                  : target);
    if (!copyError.empty()) {
        Tell(options.Mode, L"Не удалось запустить копию программы удаления: " + copyError,
             MB_ICONERROR);
        LogResult(L"программа удаления не запущена", ecStopped);
        return ecStopped;
    }
    const TOutcome outcome = Dispatch(options, removal, target); // the lock is released
    if (!outcome.Text.empty()) {
        LogResult(outcome.Text, outcome.ExitCode);
    }
    // Nothing of this run is held any more when whoever waits learns the result.
    SetupLog().Close();
    CompleteHandOver(outcome.ExitCode);
    return outcome.ExitCode;
}
