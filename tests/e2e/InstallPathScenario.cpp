#include "InstallWalks.h"
#include "Installation.h"
#include "Machine.h"
#include "Scenario.h"
#include "Scenarios.h"
#include "Walks.h"

namespace e2e {

void InstallPathWithBlanks(TContext& context) {
    TScreenDpi screen(96);
    const std::wstring typed = L"C:\\Program Files\\Холтер Тест";
    // The path page writes the folder back with one trailing delimiter.
    const std::wstring target = typed + L"\\";
    RemoveSuite(target);
    const std::wstring source = context.CopyDistribution();
    const TInstallation installation = PlanInstallation(source, target, true);

    TWizard wizard(context, source);
    WalkToOptions(wizard, context, typed);
    StartInstallation(wizard, context, true);
    WaitRunEnd(wizard, true);
    CheckInstallation(context, wizard, installation);
    ExitFromFontSizePage(wizard, context);
}

} // namespace e2e
