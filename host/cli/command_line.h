// One style of command line for every avrion-* program: --help lists every
// option with its default, --version names the program and the module it
// belongs to, and a bad command line is refused with one line naming the
// fault and exit status 2. The options several programs share are spelled
// and explained here, once.
#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

#include "sim/click_schedule.h"
#include "sim/variable_settings.h"

namespace command_line {

inline constexpr int kBadCommandLine = 2;

// A program's command line, with --help and --version.
void Describe(CLI::App& app);
// Parses the command line. Nothing when the program goes on, else the exit
// status to return: 0 after --help or --version, kBadCommandLine when refused.
std::optional<int> Parse(CLI::App& app, int argc, char** argv);

// --module FILE: the gauge module (default: the one beside the program).
CLI::Option* AddModule(CLI::App& app, std::string& path, const std::string& defaultText = "the one beside this program");
// --sim-root DIR: the simulator's root folder, with Gauges/ and Aircraft/.
CLI::Option* AddSimRoot(CLI::App& app, std::string& folder, const std::string& defaultText = "this program's folder");
// --frame-rate HZ: frames per second of simulator time.
CLI::Option* AddFrameRate(CLI::App& app, double& rate, double lowest = 1.0);
// --objects DIR: the folder of the table of named objects (the shared slot
// block and its guards) that the run uses and avrion-slots attaches to.
CLI::Option* AddObjects(CLI::App& app, std::string& folder, const std::string& defaultText);
// A repeatable option (or positional) whose every value is read by parse,
// which fills a Setting and returns its fault or nothing; each Setting read
// goes to store. A fault refuses the command line.
template <typename Setting, typename Parse, typename Store>
CLI::Option* AddEach(CLI::App& app, const std::string& name, Parse parse, Store store, const std::string& description) {
    return app
        .add_option_function<std::vector<std::string>>(
            name,
            [name, parse, store](const std::vector<std::string>& texts) {
                for (const std::string& text : texts) {
                    Setting setting;
                    if (std::string error = parse(text, setting); !error.empty())
                        throw CLI::ValidationError(name, error);
                    store(setting);
                }
            },
            description)
        ->allow_extra_args(false);
}

// A flag such as --no-sound that turns something off that is on by default.
CLI::Option* AddSwitchOff(CLI::App& app, const std::string& name, bool& on, const std::string& description);

// --slot N=VALUE (repeatable): set a shared slot as a sibling module would.
CLI::Option* AddSlots(CLI::App& app, std::vector<SlotSetting>& slots, const std::string& extra = "");
// --var NAME=VALUE (repeatable) and --vars FILE: simulator variables.
void AddVariables(CLI::App& app, std::vector<VariableSetting>& variables, bool withFile = true);
// --click F:GAUGE:N[:left|right|hold=K] (repeatable): a click at a frame.
CLI::Option* AddClicks(CLI::App& app, ClickSchedule& clicks);

}  // namespace command_line
