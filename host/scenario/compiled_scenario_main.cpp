// avrion-scenario for Windows: plays a scenario that the Linux avrion-scenario
// compiled (--compile) through the .gau, headless, as FS9 would load it. It
// runs from the simulator's folder: the module reads its settings and the
// aircraft file below the folder of the running program and opens its sounds
// relative to the current folder, so this program sits where FS9.EXE would.
// Exit status as on Linux: 0 when every expectation held, 1 when one did not
// or the run went wrong, 2 when the scenario or the command line was refused.
#include <filesystem>
#include <iostream>
#include <string>

#include "cli/host_paths.h"
#include "loader/module_host.h"
#include "scenario/progress_bar.h"
#include "scenario/scenario.h"
#include "scenario/scenario_command.h"
#include "scenario/scenario_json.h"
#include "scenario/scenario_runner.h"
#include "sim/sibling_modules.h"
#include "sim/simulator.h"

namespace {

using scenario::command::kFailed;
using scenario::command::kRefused;

struct Options : scenario::command::CommonOptions {};

const char* Usage() {
    return "usage: avrion-scenario [options] SCENARIO.json\n"
           "  SCENARIO.json     a scenario compiled by the Linux avrion-scenario --compile\n"
           "  --module FILE     the gauge module (default: Gauges\\Kesta_Avrion_0_018.gau below this program)\n"
           "  --output DIR      where trace.csv and summary.txt go (default: scenario-output\\NAME)\n"
           "  --real-time       run at the pace of simulator time\n"
           "  --fast            run as fast as possible, whatever the scenario says\n"
           "  --check           read the scenario and check it against the module; run no frame\n"
           "The simulator's folder is this program's folder, as FS9.EXE's is for FS9.\n";
}

std::string ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        bool taken = false;
        if (std::string fault = scenario::command::TakeCommonArgument(argc, argv, i, options, taken); !fault.empty())
            return fault;
        if (!taken) return "unknown option " + std::string(argv[i]);
    }
    if (options.scenarioPaths.size() > 1)
        return "one scenario at a time (got " + options.scenarioPaths[0] + " and " + options.scenarioPaths[1] + ")";
    return scenario::command::CheckCommonOptions(options);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (std::string error = ParseOptions(argc, argv, options); !error.empty()) {
        std::cerr << "avrion-scenario: " << error << "\n" << Usage();
        return kRefused;
    }
    if (options.help) {
        std::cout << Usage();
        return 0;
    }

    // Every path is fixed before the simulator's folder becomes the working folder.
    const std::string simRoot = host_paths::ProgramFolder();
    const std::string scenarioPath = host_paths::Absolute(options.scenarioPaths.front());
    const std::string modulePath = host_paths::Absolute(
        options.modulePath.empty() ? (std::filesystem::path(simRoot) / "Gauges" / host_paths::kModuleFileName).string()
                                   : options.modulePath);

    // Messages name the YAML file the scenario was compiled from, as on Linux.
    const scenario::ParseResult parsed = scenario::LoadCompiledScenario(scenarioPath);
    if (!parsed.ok()) return scenario::command::Refuse(parsed.problems, "the scenario was refused");
    const scenario::Scenario& flight = parsed.scenario;
    const std::string outputFolder = host_paths::Absolute(
        options.outputFolder.empty()
            ? (std::filesystem::path("scenario-output") / std::filesystem::path(flight.file).stem()).string()
            : options.outputFolder);

    if (std::string error = ModuleHost::SetSimRoot(simRoot); !error.empty()) {
        std::cerr << "avrion-scenario: " << error << "\n";
        return kRefused;
    }
    Simulator simulator;
    SiblingModules siblings;
    ModuleHost host(simulator);
    if (const auto status = scenario::command::LoadAndCheck(flight, modulePath, host, siblings)) return *status;
    if (options.checkOnly) {
        std::cout << flight.file << ": accepted (" << flight.LastFrame() << " frames, " << flight.expectations.size()
                  << " expectations)\n";
        return 0;
    }

    // No progress bar: under Wine standard error is seldom a console.
    ProgressBar progress(std::cerr, false);
    scenario::RunOptions run;
    run.outputFolder = outputFolder;
    run.realTime = options.realTime;
    run.progress = &progress;
    run.modulePath = modulePath;
    const scenario::RunResult result = scenario::RunScenario(flight, host, simulator, siblings, run);
    host.Unload();

    if (!result.error.empty()) {
        std::cerr << "avrion-scenario: " << result.error << "\n";
        return kRefused;
    }
    std::cout << scenario::Summary(flight, result, run);
    std::cout << "output: " << outputFolder << "\n";
    return result.ok() ? 0 : kFailed;
}
