// What the two avrion-scenario programs share: the Linux one, which reads
// YAML and takes pictures, and the headless Windows one, which plays what the
// Linux one compiled. Both take the same common options, refuse a scenario
// with the same messages, check it against the loaded module the same way and
// play it the same way, so that their runs can be compared line for line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "scenario/run_record.h"
#include "scenario/scenario.h"
#include "scenario/scenario_player.h"
#include "sim/module_run.h"

namespace CLI {
class App;
}

namespace scenario::command {

inline constexpr int kFailed = kRunFailed;
inline constexpr int kRefused = kRunRefused;

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
std::optional<int> LoadAndCheck(const Scenario& scenario, ModuleRun& run, std::vector<std::string>* faults = nullptr);

// The scenario checked against a freshly loaded module of a run of its own:
// nothing when it fits, else the exit status.
std::optional<int> CheckWithModule(const Scenario& scenario, const RunSetup& setup);

// One scenario played through a freshly loaded module of a run of its own,
// its observers ended whatever came of it. record.outputFolder is the caller's.
void Play(const Scenario& scenario, const RunSetup& setup, RunObserver& observer, const RunOptions& options,
          RunRecord& record);

}  // namespace scenario::command
