// The scenario table: a new scenario is a function in its own file plus one line here.
#include "Scenarios.h"

#include "Scenario.h"

namespace e2e {
namespace {

constexpr TScenario Scenarios[] = {
    {L"cancel-on-options", CancelOnOptions},
    {L"install-default", InstallDefault},
    {L"install-large-fonts-exit", InstallLargeFontsExit},
    {L"install-large-fonts-stay-no-driver", InstallLargeFontsStayNoDriver},
    {L"install-path-with-blanks", InstallPathWithBlanks},
    {L"reinstall-keeps-database", ReinstallKeepsDatabase},
    {L"verysilent-default", VerySilentDefault},
    {L"silent-path-driver-log", SilentPathDriverLog},
    {L"verysilent-reinstall", VerySilentReinstall},
    {L"verysilent-read-only-media", VerySilentReadOnlyMedia},
    {L"unattended-target-refused", UnattendedTargetRefused},
    {L"unattended-bad-command-line", UnattendedBadCommandLine},
    {L"unattended-second-copy", UnattendedSecondCopy},
    {L"keyboard-install", KeyboardInstall},
    {L"keyboard-escape", KeyboardEscape},
    {L"keyboard-tab-order", KeyboardTabOrder},
    {L"registration-entry", RegistrationEntry},
    {L"removal-wizard-keeps-data", RemovalWizardKeepsData},
    {L"removal-answer-no", RemovalAnswerNo},
    {L"removal-verysilent", RemovalVerySilent},
    {L"removal-changed-and-locked", RemovalChangedAndLocked},
    {L"stopped-run-leaves-nothing", StoppedRunLeavesNothing},
    {L"removal-bad-record", RemovalBadRecord},
    {L"removal-cyrillic-blanks", RemovalCyrillicBlanks},
    {L"unattended-canonical-target", UnattendedCanonicalTarget},
    {L"unattended-dir-every-level", UnattendedDirEveryLevel},
    {L"planted-libraries", PlantedLibraries},
    {L"log-never-destroys", LogNeverDestroysAFile},
    {L"removal-keeps-edited-files", RemovalKeepsEditedFiles},
    {L"pending-deletion-cancelled", PendingDeletionCancelled},
    {L"removal-back-to-back", RemovalBackToBack},
    {L"verify-repair-damages", VerifyRepairDamages},
    {L"verify-windows", VerifyWindows},
    {L"verify-distribution-gone", VerifyDistributionGone},
    {L"repair-source-from-entry", RepairSourceFromEntry},
};

// Cases that need Wine to refuse writes to read-only files, as Windows does: it does only for
// a user without privileges (scripts/fault-suite runs them so).
constexpr TScenario Unprivileged[] = {
    {L"reinstall-over-read-only-files", ReinstallOverReadOnlyFiles},
};

// A whole default installation, a screenshot of every page, the findings printed.
constexpr TScenario Demo = {L"demo", InstallDefault};

} // namespace

std::span<const TScenario> AllScenarios() {
    return Scenarios;
}

std::span<const TScenario> UnprivilegedScenarios() {
    return Unprivileged;
}

const TScenario& DemoScenario() {
    return Demo;
}

} // namespace e2e
