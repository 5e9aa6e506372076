#include "install/InstallRun.h"

#include "common/Paths.h"

TInstallRun::TInstallRun(TInstallHost& host, std::wstring sourceFolder)
    : FHost(host), FLog(host), FSource(std::move(sourceFolder)) {}

TRunResult TInstallRun::Execute() {
    const TRunResult result = InstallCore();
    return result == TRunResult::rrCompleted ? InstallCompletion() : result;
}
