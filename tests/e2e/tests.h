// The groups of end-to-end tests beside the table, registered by the runner.
#pragma once

namespace e2e {

void registerDifferentialTests();
void registerRealConditionTests();

} // namespace e2e
