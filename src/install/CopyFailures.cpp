#include "install/CopyFailures.h"

#include "common/SetupLog.h"

namespace {

// The updater's target ends in a delimiter, so its paths carry two in a row; one reads better.
std::wstring Readable(std::wstring path) {
    for (size_t at = path.find(L"\\\\", 1); at != std::wstring::npos; at = path.find(L"\\\\", at)) {
        path.erase(at, 1);
    }
    return path;
}

std::wstring FailureText(const TCopyFailure& failure) {
    return L"Файл не скопирован: " + Readable(failure.Target) + L" (из " +
           Readable(failure.Source) + L"): " + failure.Reason;
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
            log.Line(FailureText(failure));
        }
        return;
    }
    log.Line(count + L". Список в журнале установки: " + logFile);
    for (const TCopyFailure& failure : failures) {
        LogLine(FailureText(failure));
    }
}
