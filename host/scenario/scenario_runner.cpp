#include "scenario/scenario_runner.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <sstream>
#include <thread>

#include "loader/module_host.h"
#include "scenario/progress_bar.h"
#include "scenario/scenario_player.h"
#include "sim/gauge_access.h"
#include "sim/sibling_modules.h"
#include "sim/simulator.h"

namespace scenario {
namespace {

// Plays every step, at the pace of simulator time when asked.
RunResult Play(const Scenario& scenario, ModuleHost& host, Simulator& simulator, SiblingModules& siblings,
               const RunOptions& options) {
    ScenarioPlayer player(scenario, host, simulator, siblings, options);
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

}  // namespace

RunResult RunScenario(const Scenario& scenario, ModuleHost& host, Simulator& simulator, SiblingModules& siblings,
                      const RunOptions& options) {
    RunResult result = Play(scenario, host, simulator, siblings, options);
    if (result.error.empty() && !options.outputFolder.empty()) {
        const auto path = std::filesystem::path(options.outputFolder) / "summary.txt";
        std::ofstream summary(path, std::ios::binary | std::ios::trunc);
        summary << Summary(scenario, result, options);
        summary.close();
        if (!summary) result.failures.push_back("could not write " + path.string());
    }
    return result;
}

std::string Summary(const Scenario& scenario, const RunResult& result, const RunOptions& options) {
    std::ostringstream out;
    out << "scenario: " << scenario.file;
    if (!scenario.name.empty()) out << " (" << scenario.name << ")";
    out << "\n";
    if (!options.modulePath.empty()) out << "module: " << options.modulePath << "\n";
    out << "frames: " << result.frames << " at " << FormatNumber(scenario.frameRate) << " per second\n";
    out << "simulated time: " << FormatSeconds(result.simulatedSeconds) << "\n";
    out << "wall time: " << FormatSeconds(result.wallSeconds) << "\n";
    if (result.wallSeconds > 0.0) {
        char line[96];
        std::snprintf(line, sizeof line, "frames per second: %.0f (%.1f times real time)\n",
                      static_cast<double>(result.frames) / result.wallSeconds,
                      result.simulatedSeconds / result.wallSeconds);
        out << line;
    }
    const std::size_t expectationsFailed =
        result.error.empty() ? scenario.expectations.size() - static_cast<std::size_t>(result.passed) : 0;
    out << "expectations: " << result.passed << " passed, " << expectationsFailed << " failed\n";
    out << "pictures: " << result.pictures.size() << "\n";
    for (const std::string& picture : result.pictures) out << "  " << picture << "\n";
    if (!result.error.empty()) out << "error: " << result.error << "\n";
    if (!result.failures.empty()) out << "failures:\n";
    for (const std::string& failure : result.failures) out << "  " << failure << "\n";
    if (!result.warnings.empty()) out << "warnings:\n";
    for (const std::string& warning : result.warnings) out << "  " << warning << "\n";
    out << "result: " << (result.ok() ? "passed" : "FAILED") << "\n";
    return out.str();
}

}  // namespace scenario
