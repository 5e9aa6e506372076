#include "InstallWalks.h"
#include "Installation.h"
#include "Machine.h"
#include "Scenario.h"
#include "Scenarios.h"
#include "Walks.h"

namespace e2e {

void InstallDefault(TContext& context) {
    TScreenDpi screen(96);
    const std::wstring target = L"C:\\Holter\\";
    RemoveSuite(target);
    const std::wstring source = context.CopyDistribution();
    const TInstallation installation = PlanInstallation(source, target, true);

    TWizard wizard(context, source);
    WalkToOptions(wizard, context);
    StartInstallation(wizard, context, true);
    WaitRunEnd(wizard, true);
    CheckInstallation(context, wizard, installation);
    DeclineRestartAndExit(wizard, context);
}

} // namespace e2e
