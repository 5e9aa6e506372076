#pragma once

namespace e2e {

class TContext;

// One function per scenario, each in its own file; the table is in Scenarios.cpp.

// Welcome, path, options with the driver warning, then Cancel answered Yes and Exit.
void CancelOnOptions(TContext& context);

} // namespace e2e
