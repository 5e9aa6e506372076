// The scenario table: a new scenario is a function in its own file plus one line here.
#include "Scenarios.h"

#include "Scenario.h"

namespace e2e {
namespace {

constexpr TScenario Scenarios[] = {
    {L"cancel-on-options", CancelOnOptions},
};

// Until the installation run is there, the demo walks the pages and cancels.
constexpr TScenario Demo = {L"demo", CancelOnOptions};

} // namespace

std::span<const TScenario> AllScenarios() {
    return Scenarios;
}

const TScenario& DemoScenario() {
    return Demo;
}

} // namespace e2e
