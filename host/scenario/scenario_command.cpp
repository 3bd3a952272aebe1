#include "scenario/scenario_command.h"

#include <iostream>

#include "loader/module_host.h"
#include "scenario/scenario_checks.h"
#include "sim/sibling_modules.h"

namespace scenario::command {

std::string TakeCommonArgument(int argc, char** argv, int& i, CommonOptions& options, bool& taken) {
    const std::string argument = argv[i];
    const auto value = [&](std::string& into) {
        if (i + 1 >= argc) return false;
        into = argv[++i];
        return true;
    };
    taken = true;
    if (argument == "--help" || argument == "-h") {
        options.help = true;
    } else if (argument == "--module") {
        if (!value(options.modulePath)) return "--module needs a file";
    } else if (argument == "--output") {
        if (!value(options.outputFolder)) return "--output needs a folder";
    } else if (argument == "--real-time") {
        options.realTime = true;
    } else if (argument == "--fast") {
        options.realTime = false;
    } else if (argument == "--check") {
        options.checkOnly = true;
    } else if (argument.empty() || argument.front() != '-') {
        options.scenarioPaths.push_back(argument);
    } else {
        taken = false;
    }
    return std::string();
}

std::string CheckCommonOptions(const CommonOptions& options) {
    if (!options.help && options.scenarioPaths.empty()) return "no scenario file given";
    return std::string();
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
