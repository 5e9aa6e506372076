#include "Scenario.h"
#include "Scenarios.h"
#include "Walks.h"
#include "Wizard.h"

namespace e2e {

void CancelOnOptions(TContext& context) {
    TWizard wizard(context, context.CopyDistribution());
    WalkToOptions(wizard, context);
    CancelAndExit(wizard, context);
}

} // namespace e2e
