#include "scenario/scenario_command.h"

#include <iostream>

#include "cli/command_line.h"

#include "loader/module_host.h"
#include "scenario/scenario_checks.h"
#include "sim/sibling_modules.h"

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

std::optional<int> LoadAndCheck(const Scenario& scenario, const std::string& modulePath, ModuleHost& host,
                                const SiblingModules& siblings, std::vector<std::string>* faults) {
    if (!siblings.valid() && !scenario.slots.empty())
        std::cerr << "avrion-scenario: warning: cannot hold the shared slot block open\n";
    if (std::string error = host.Load(modulePath); !error.empty()) {
        std::cerr << "avrion-scenario: " << error << "\n";
        if (faults != nullptr) faults->push_back(error);
        return kRefused;
    }
    const std::vector<Problem> problems = CheckAgainstGauges(scenario, host.gauges());
    if (problems.empty()) return std::nullopt;
    if (faults != nullptr)
        for (const Problem& problem : problems) faults->push_back(problem.ToString());
    return Refuse(problems, "the scenario does not fit the module");
}

}  // namespace scenario::command
