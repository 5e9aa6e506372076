#include "install/CopyFailures.h"

#include "common/SetupLog.h"

namespace {

std::wstring NotCopiedText(const TCopyFailure& failure) {
    return L"Файл не скопирован: " + failure.Target + L" (из " + failure.Source + L"): " +
           failure.Reason;
}

} // namespace

void ReportCopyFailures(TInstallLog& log, const TCopyFailures& failures) {
    if (failures.empty()) {
        return;
    }
    const std::wstring count =
        L"Не удалось скопировать файлов: " + std::to_wstring(failures.size());
    const std::wstring& logFile = SetupLog().Path();
    if (logFile.empty()) {
        // No log file to hold the list: the run's own log must, or the names are lost.
        log.Line(count + L". Список ниже:");
        for (const TCopyFailure& failure : failures) {
            log.Line(NotCopiedText(failure));
        }
        return;
    }
    log.Line(count + L". Список в журнале установки: " + logFile);
    for (const TCopyFailure& failure : failures) {
        LogLine(NotCopiedText(failure));
    }
}
