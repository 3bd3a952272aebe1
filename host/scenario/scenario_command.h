// What the two avrion-scenario programs share: the Linux one, which reads
// YAML and takes pictures, and the headless Windows one, which plays what the
// Linux one compiled. Both take the same common options, refuse a scenario
// with the same messages and check it against the loaded module the same way,
// so that their runs can be compared line for line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "scenario/scenario.h"

namespace CLI {
class App;
}

class ModuleHost;
class SiblingModules;

namespace scenario::command {

// Exit status: 0 when every expectation held.
inline constexpr int kFailed = 1;   // one did not, or the run went wrong
inline constexpr int kRefused = 2;  // the command line or the scenario was refused; no frame ran

struct CommonOptions {
    std::vector<std::string> scenarioPaths;  // in the order given
    std::string modulePath;
    std::string outputFolder;
    std::optional<bool> realTime;
    bool checkOnly = false;
};

// The scenario file and the options both programs take.
void AddCommonOptions(CLI::App& app, CommonOptions& options, const std::string& moduleDefault);

// Prints each problem and why no frame ran; returns kRefused.
int Refuse(const std::vector<Problem>& problems, const std::string& why);

// Loads the module and checks the scenario against its gauges, reporting what
// stands in the way. Nothing when the run may go on, else the exit status.
// Each fault printed also goes to faults, when given.
std::optional<int> LoadAndCheck(const Scenario& scenario, const std::string& modulePath, ModuleHost& host,
                                const SiblingModules& siblings, std::vector<std::string>* faults = nullptr);

}  // namespace scenario::command
