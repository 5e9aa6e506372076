// The fault-injection suite's table: a new case is a function in its own file plus one line here.
#include "Scenarios.h"

#include "Scenario.h"

namespace e2e {

std::span<const TScenario> FaultScenarios() {
    return {};
}

} // namespace e2e
