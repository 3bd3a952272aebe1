// avrion-scenario for Windows: plays a scenario that the Linux avrion-scenario
// compiled (--compile) through the .gau, headless, as FS9 would load it. It
// runs from the simulator's folder: the module reads its settings and the
// aircraft file below the folder of the running program and opens its sounds
// relative to the current folder, so this program sits where FS9.EXE would.
// Exit status as on Linux: 0 when every expectation held, 1 when one did not
// or the run went wrong, 2 when the scenario or the command line was refused.
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "cli/command_line.h"
#include "cli/host_paths.h"
#include "scenario/progress_bar.h"
#include "scenario/run_files.h"
#include "scenario/scenario_command.h"
#include "scenario/scenario_json.h"

namespace {

using scenario::command::kRefused;

struct Options : scenario::command::CommonOptions {};

std::optional<int> ParseOptions(int argc, char** argv, Options& options) {
    CLI::App app{"Plays a scenario that the Linux avrion-scenario compiled (--compile) through the .gau, headless, "
                 "as FS9 would load it. The simulator's folder is this program's folder, as FS9.EXE's is for FS9. "
                 "Exit status 0 when every expectation held, 1 when one did not or the run went wrong, 2 when the "
                 "command line or the scenario was refused.",
                 "avrion-scenario"};
    command_line::Describe(app);
    scenario::command::AddCommonOptions(app, options, "Gauges\\Kesta_Avrion_0_018.gau below this program");
    if (auto status = command_line::Parse(app, argc, argv)) return status;
    if (options.scenarioPaths.size() > 1) {
        std::cerr << "avrion-scenario: one scenario at a time (got " << options.scenarioPaths[0] << " and "
                  << options.scenarioPaths[1] << ")\n";
        return kRefused;
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (const auto status = ParseOptions(argc, argv, options)) return *status;

    // Every path is fixed before the simulator's folder becomes the working folder.
    RunSetup setup;
    setup.simRoot = host_paths::ProgramFolder();
    const std::string scenarioPath = host_paths::Absolute(options.scenarioPaths.front());
    setup.modulePath = host_paths::Absolute(
        options.modulePath.empty()
            ? (std::filesystem::path(setup.simRoot) / "Gauges" / host_paths::kModuleFileName).string()
            : options.modulePath);

    // Messages name the YAML file the scenario was compiled from, as on Linux.
    const scenario::ParseResult parsed = scenario::LoadCompiledScenario(scenarioPath);
    if (!parsed.ok()) return scenario::command::Refuse(parsed.problems, "the scenario was refused");
    const scenario::Scenario& flight = parsed.scenario;
    if (options.checkOnly) {
        if (const auto status = scenario::command::CheckWithModule(flight, setup)) return *status;
        std::cout << flight.file << ": accepted (" << flight.LastFrame() << " frames, " << flight.expectations.size()
                  << " expectations)\n";
        return 0;
    }

    scenario::RunRecord record;
    record.outputFolder = host_paths::Absolute(
        options.outputFolder.empty()
            ? (std::filesystem::path("scenario-output") / std::filesystem::path(flight.file).stem()).string()
            : options.outputFolder);
    scenario::TraceFile trace(record.outputFolder);
    scenario::SummaryFile summary(record.outputFolder);
    scenario::RunObservers observers({&trace, &summary});
    // No progress bar: under Wine standard error is seldom a console.
    ProgressBar progress(std::cerr, false);
    scenario::command::Play(flight, setup, observers, {options.realTime, &progress}, record);
    if (record.status == kRefused) return kRefused;
    std::cout << record.summary;
    std::cout << "output: " << record.outputFolder << "\n";
    return record.status;
}
