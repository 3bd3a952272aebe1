#include "scenario/scenario_command.h"

#include <iostream>

#include "cli/command_line.h"
#include "scenario/scenario_checks.h"
#include "sim/run_resources.h"

namespace scenario::command {

void AddCommonOptions(CLI::App& app, CommonOptions& options, const std::string& moduleDefault) {
    app.add_option("SCENARIO", options.scenarioPaths, "the scenario files, or folders of them")->required();
    command_line::AddModule(app, options.modulePath, moduleDefault);
    app.add_option("--output", options.outputFolder,
                   "where trace.csv, summary.txt and the rest go (default: scenario-output/NAME, NAME the scenario "
                   "file's name)")
        ->type_name("DIR");
    auto* realTime = app.add_flag_function(
        "--real-time", [&options](std::int64_t) { options.realTime = true; }, "run at the pace of simulator time");
    app.add_flag_function(
           "--fast", [&options](std::int64_t) { options.realTime = false; },
           "run as fast as possible, whatever the scenario says")
        ->excludes(realTime);
    app.add_flag("--check", options.checkOnly, "read the scenario and check it against the module; run no frame");
}

int Refuse(const std::vector<Problem>& problems, const std::string& why) {
    for (const Problem& problem : problems) std::cerr << problem.ToString() << "\n";
    std::cerr << "avrion-scenario: " << why << "; no frame ran\n";
    return kRefused;
}

std::optional<int> LoadAndCheck(const Scenario& scenario, ModuleRun& run, std::vector<std::string>* faults) {
    if (!run.siblings().valid() && !scenario.slots.empty())
        std::cerr << "avrion-scenario: warning: cannot hold the shared slot block open\n";
    if (std::string error = run.Load(); !error.empty()) {
        std::cerr << "avrion-scenario: " << error << "\n";
        if (faults != nullptr) faults->push_back(error);
        return kRefused;
    }
    const std::vector<Problem> problems = CheckAgainstGauges(scenario, run.host().gauges());
    if (problems.empty()) return std::nullopt;
    if (faults != nullptr)
        for (const Problem& problem : problems) faults->push_back(problem.ToString());
    return Refuse(problems, "the scenario does not fit the module");
}

namespace {

std::unique_ptr<ModuleRun> OpenRun(const RunSetup& setup, std::vector<std::string>* faults) {
    std::string error;
    std::vector<std::string> warnings;
    auto run = ModuleRun::Open(setup, error, &warnings);
    for (const std::string& warning : warnings) std::cerr << "avrion-scenario: warning: " << warning << "\n";
    if (!run) {
        std::cerr << "avrion-scenario: " << error << "\n";
        if (faults != nullptr) faults->push_back(error);
    }
    return run;
}

}  // namespace

std::optional<int> CheckWithModule(const Scenario& scenario, const RunSetup& setup) {
    const auto run = OpenRun(setup, nullptr);
    if (!run) return kRefused;
    return LoadAndCheck(scenario, *run);
}

void Play(const Scenario& scenario, const RunSetup& setup, RunObserver& observer, const RunOptions& options,
          RunRecord& record) {
    record.scenario = &scenario;
    record.modulePath = setup.modulePath;
    ClearModuleMessageBoxes();
    record.status = kRefused;
    const auto run = OpenRun(setup, &record.refusal);
    if (run) {
        if (const auto status = LoadAndCheck(scenario, *run, &record.refusal)) {
            record.status = *status;
        } else if (const std::vector<Problem> problems = observer.Loaded(*run, scenario); !problems.empty()) {
            for (const Problem& problem : problems) record.refusal.push_back(problem.ToString());
            record.status = Refuse(problems, "a reference picture does not fit");
        } else {
            record.result = RunScenario(scenario, *run, observer, options);
            if (!record.result.error.empty()) {
                std::cerr << "avrion-scenario: " << record.result.error << "\n";
                record.refusal.push_back(record.result.error);
            } else {
                record.status = record.result.ok() ? 0 : kFailed;
            }
        }
    }
    observer.End(record);
    if (record.status != kRefused) record.status = record.result.ok() ? 0 : kFailed;
}

}  // namespace scenario::command
