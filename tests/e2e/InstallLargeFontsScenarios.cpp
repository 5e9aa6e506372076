#include "InstallWalks.h"
#include "Installation.h"
#include "Machine.h"
#include "Scenario.h"
#include "Scenarios.h"
#include "Walks.h"

namespace e2e {
namespace {

void InstallAtLargeFonts(TContext& context, bool driverYes, bool exitYes) {
    TScreenDpi screen(120);
    const std::wstring target = L"C:\\Holter\\";
    RemoveSuite(target);
    const std::wstring source = context.CopyDistribution();
    const TInstallation installation = PlanInstallation(source, target, driverYes);

    TWizard wizard(context, source);
    WalkToOptions(wizard, context);
    StartInstallation(wizard, context, driverYes);
    const TRunEnd end = WaitRunEnd(wizard, false);
    context.Shot(L"11-final-question", wizard);
    context.CheckEqual(wizard.VisiblePage(), L"tsProgressInstall", L"page at the final question");
    CheckInstallation(context, wizard, installation);
    AnswerFinalQuestion(wizard, context, end.FinalQuestion, exitYes);
}

} // namespace

void InstallLargeFontsExit(TContext& context) {
    InstallAtLargeFonts(context, true, true);
}

void InstallLargeFontsStayNoDriver(TContext& context) {
    InstallAtLargeFonts(context, false, false);
}

} // namespace e2e
