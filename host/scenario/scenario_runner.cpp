#include "scenario/scenario_runner.h"

#include <chrono>
#include <thread>

#include "scenario/progress_bar.h"
#include "scenario/scenario_player.h"
#include "sim/module_run.h"

namespace scenario {

RunResult RunScenario(const Scenario& scenario, ModuleRun& run, RunObserver& observer, const RunOptions& options) {
    ScenarioPlayer player(scenario, run.host(), run.simulator(), run.siblings(), observer);
    if (!player.Start()) return player.progress();
    const bool realTime = options.realTime.value_or(scenario.realTime);
    const auto start = std::chrono::steady_clock::now();
    while (!player.Done()) {
        const double time = player.NextTime();
        player.Step();
        if (options.progress != nullptr) options.progress->Show(time, scenario.duration);
        if (realTime) std::this_thread::sleep_until(start + std::chrono::duration<double>(time));
    }
    const double wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (options.progress != nullptr) options.progress->Finish();
    RunResult result = player.Finish();
    result.wallSeconds = wallSeconds;
    return result;
}

}  // namespace scenario
