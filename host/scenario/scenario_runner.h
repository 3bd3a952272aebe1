// Plays a checked scenario through a loaded module from its first step to its
// last, at the pace of simulator time when asked, handing everything it finds
// to the run's observers.
#pragma once

#include <optional>

#include "scenario/run_observer.h"
#include "scenario/run_result.h"
#include "scenario/scenario.h"

class ModuleRun;
class ProgressBar;

namespace scenario {

struct RunOptions {
    std::optional<bool> realTime;  // overrides the scenario's own setting
    ProgressBar* progress = nullptr;
};

// The module must be loaded, and the scenario accepted by a reader and
// CheckAgainstGauges.
RunResult RunScenario(const Scenario& scenario, ModuleRun& run, RunObserver& observer, const RunOptions& options);

}  // namespace scenario
