#include "install/InstallRun.h"

#include "common/Paths.h"

TInstallRun::TInstallRun(TInstallHost& host, std::wstring sourceFolder)
    : FHost(host), FLog(host), FSource(std::move(sourceFolder)) {}

void TInstallRun::Execute() {
    if (InstallCore()) {
        InstallCompletion();
    }
}
