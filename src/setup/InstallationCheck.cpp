#include "setup/InstallationCheck.h"

#include "common/AppStrings.h"
#include "common/Paths.h"
#include "common/SetupLog.h"
#include "install/InstallLog.h"
#include "install/RepairRun.h"
#include "install/SilentProgress.h"
#include "install/Verify.h"
#include "setup/Setup.h"
#include "setup/SetupSession.h"
#include "setup/SourceFolder.h"
#include "ui/Application.h"
#include "ui/MessageDlg.h"
#include "wizard/Main.h"

namespace {

struct TCheckCounts {
    size_t Found = 0;
    size_t Left = 0; // of a repair: still there afterwards
};

std::wstring Suite() {
    return L"Комплекс \"" + ProductName(GetModuleHandleW(nullptr)) + L"\"";
}

TFindings Check(const std::wstring& source, const std::wstring& target, const TRecordSet& record,
                TRunProgress& progress, TInstallLog& log) {
    progress.ShowProgressPage();
    progress.SetCanClose(false);
    log.LineAndPaint(L"Проверка установки в папке " + ExcludeTrailingPathDelimiter(target) +
                     L" по дистрибутиву " + ExcludeTrailingPathDelimiter(source));
    TInstallCheck check(source, target, record);
    const TFindings findings = check.Run([&progress] { progress.ProcessMessages(); });
    for (const TFinding& finding : findings) {
        log.Line(FindingText(finding));
        if (finding.Kind == TFindingKind::fkDifferent && !finding.Detail.empty()) {
            log.Line(L"  " + finding.Detail);
        }
    }
    log.Line(L"Проверено файлов: " + std::to_wstring(check.FilesChecked()) +
             L"; найдено расхождений: " + std::to_wstring(findings.size()));
    return findings;
}

// What a repair could not put right, checked as the check found it. The entry's source is now
// the repair's own.
size_t Unrepaired(const std::wstring& source, const std::wstring& target, const TFindings& findings,
                  TInstallLog& log) {
    const TRecordSet noRecord;
    const TInstallCheck again(source, target, noRecord);
    size_t left = 0;
    for (const TFinding& finding : findings) {
        if (again.StillHolds(finding)) {
            log.Line(L"Не исправлено: " + FindingText(finding));
            ++left;
        }
    }
    log.Line(L"Исправлено расхождений: " + std::to_wstring(findings.size() - left) + L" из " +
             std::to_wstring(findings.size()));
    return left;
}

TCheckCounts CheckAndRepair(const TCommandLine& options, const std::wstring& source,
                            const std::wstring& target, const TRecordSet& record,
                            TRunProgress& progress) {
    TInstallLog log(progress);
    const TFindings findings = Check(source, target, record, progress, log);
    TCheckCounts counts{findings.size(), 0};
    if (options.Repair && !findings.empty()) {
        log.LineAndPaint(L"Восстановление установки");
        TRepairRun(source, target, progress).Execute(findings, record);
        counts.Left = Unrepaired(source, target, findings, log);
    }
    progress.SetCanClose(true);
    progress.EnableExit();
    return counts;
}

TCheckOutcome Outcome(const TCommandLine& options, TCheckCounts counts) {
    if (counts.Found == 0) {
        return {ecInstalled, L"установка цела"};
    }
    if (!options.Repair) {
        return {ecDifferences, L"найдены расхождения: " + std::to_wstring(counts.Found)};
    }
    return counts.Left == 0 ? TCheckOutcome{ecInstalled, L"установка восстановлена"}
                            : TCheckOutcome{ecStopped, L"восстановлено не всё"};
}

std::wstring FinalText(const TCommandLine& options, TCheckCounts counts,
                       const std::wstring& folder) {
    if (counts.Found == 0) {
        return L"Установка в папке " + folder + L" цела.";
    }
    const std::wstring log = SetupLog().Path();
    if (!options.Repair) {
        return L"Найдено расхождений: " + std::to_wstring(counts.Found) + L". Список в журнале " +
               log + L".";
    }
    if (counts.Left == 0) {
        return L"Установка в папке " + folder + L" восстановлена. Исправлено расхождений: " +
               std::to_wstring(counts.Found) + L".";
    }
    return L"Не удалось исправить расхождений: " + std::to_wstring(counts.Left) + L" из " +
           std::to_wstring(counts.Found) + L". Список в журнале " + log + L".";
}

TCheckCounts RunInMode(const TCommandLine& options, const std::wstring& source,
                       const std::wstring& target, const TRecordSet& record) {
    if (options.Mode == TSetupMode::smVerySilent) {
        TSilentProgress progress;
        return CheckAndRepair(options, source, target, record, progress);
    }
    TFMain& main = Application.CreateForm<TFMain>();
    main.ShowLogPage(options.Repair ? L"Восстановление комплекса" : L"Проверка комплекса",
                     options.Mode == TSetupMode::smSilent);
    const TCheckCounts counts = CheckAndRepair(options, source, target, record, main.RunHost());
    if (options.Mode == TSetupMode::smWizard) {
        const std::wstring text = FinalText(options, counts, ExcludeTrailingPathDelimiter(target));
        const bool good = counts.Found == 0 || (options.Repair && counts.Left == 0);
        (good ? ShowInformationBox : ShowWarningBox)(main.Handle(), text);
    }
    main.Hide();
    return counts;
}

} // namespace

std::wstring CheckTitle(const TCommandLine& options) {
    return std::wstring(options.Repair ? L"Восстановление" : L"Проверка") + L" комплекса \"" +
           ProductName(GetModuleHandleW(nullptr)) + L"\"";
}

std::wstring CheckLogPrefix(const TCommandLine& options) {
    return options.Repair ? L"Sontira-Repair" : L"Sontira-Verify";
}

TCheckOutcome CheckInstallation(const TCommandLine& options, const std::wstring& target) {
    const TRecordFile record = ReadInstallRecord(target);
    if (record.State == TRecordState::rsMissing) {
        Tell(options.Mode,
             Suite() + L" не установлен в папке " + ExcludeTrailingPathDelimiter(target) + L".",
             MB_ICONERROR);
        return {ecBadStart, L"комплекс не установлен"};
    }
    if (record.State == TRecordState::rsBad) {
        // Nothing can be judged, and nothing repaired, without knowing what was installed.
        Tell(options.Mode,
             L"Запись об установке повреждена: " + target + InstallRecordName + L", " +
                 record.Error + L". Проверка невозможна.",
             MB_ICONERROR);
        return {options.Repair ? ecStopped : ecDifferences, L"запись об установке повреждена"};
    }
    const std::wstring source = FindSourceFolder(options, target, record.Entries);
    if (source.empty()) {
        const std::wstring text = L"Дистрибутив комплекса недоступен. Ничего не проверено.";
        if (options.Mode == TSetupMode::smWizard) {
            LogLine(text); // the person cancelled the question: no box more
        } else {
            Tell(options.Mode, text, MB_ICONERROR);
        }
        return {ecTargetRefused, L"дистрибутив недоступен"};
    }
    LogLine(L"Дистрибутив: " + source);
    const TCheckCounts counts = RunInMode(options, source, target, record.Entries);
    return Outcome(options, counts);
}
