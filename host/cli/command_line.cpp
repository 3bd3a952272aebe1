#include "cli/command_line.h"

#include <iostream>

namespace command_line {

void Describe(CLI::App& app) {
    app.set_version_flag("--version", app.get_name() + " " AVRION_VERSION " (Kesta Avrion gauge module " AVRION_VERSION ")");
    app.get_formatter()->column_width(34);
}

std::optional<int> Parse(CLI::App& app, int argc, char** argv) {
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << app.get_name() << ": " << e.what() << "\nRun with --help for the options.\n";
        return kBadCommandLine;
    }
    return std::nullopt;
}

CLI::Option* AddModule(CLI::App& app, std::string& path, const std::string& defaultText) {
    return app.add_option("--module", path, "the gauge module (default: " + defaultText + ")")->type_name("FILE");
}

CLI::Option* AddSimRoot(CLI::App& app, std::string& folder, const std::string& defaultText) {
    return app
        .add_option("--sim-root", folder,
                    "the simulator's root folder, with Gauges/ and Aircraft/ (default: " + defaultText + ")")
        ->type_name("DIR");
}

CLI::Option* AddFrameRate(CLI::App& app, double& rate, double lowest) {
    return app.add_option("--frame-rate", rate, "frames per second of simulator time")
        ->type_name("HZ")
        ->check(CLI::Range(lowest, 1000.0))
        ->capture_default_str();
}

CLI::Option* AddObjects(CLI::App& app, std::string& folder, const std::string& defaultText) {
    return app
        .add_option("--objects", folder,
                    "the table of named objects (the shared slot block and its guards): a folder, which "
                    "avrion-slots --objects DIR attaches to from another terminal (default: " +
                        defaultText + ")")
        ->type_name("DIR");
}

CLI::Option* AddSwitchOff(CLI::App& app, const std::string& name, bool& on, const std::string& description) {
    return app.add_flag_function(name, [&on](std::int64_t) { on = false; }, description);
}

CLI::Option* AddSlots(CLI::App& app, std::vector<SlotSetting>& slots, const std::string& extra) {
    return AddEach<SlotSetting>(
               app, "--slot", ParseSlotSetting, [&slots](const SlotSetting& slot) { slots.push_back(slot); },
               "set shared slot N as a sibling module would (repeatable)" + extra)
        ->type_name("N=VALUE");
}

void AddVariables(CLI::App& app, std::vector<VariableSetting>& variables, bool withFile) {
    AddEach<VariableSetting>(
        app, "--var", ParseVariableSetting, [&variables](const VariableSetting& variable) { variables.push_back(variable); },
        "set a simulator variable, by name or token (repeatable; avrion-host --list-variables lists them)")
        ->type_name("NAME=VALUE");
    if (!withFile) return;
    app.add_option_function<std::string>(
           "--vars",
           [&variables](const std::string& path) {
               if (std::string error = ReadVariableFile(path, variables); !error.empty())
                   throw CLI::ValidationError("--vars", error);
           },
           "read NAME = VALUE lines from a file")
        ->type_name("FILE");
}

CLI::Option* AddClicks(CLI::App& app, ClickSchedule& clicks) {
    return AddEach<ScheduledClick>(
               app, "--click", ParseClick, [&clicks](const ScheduledClick& click) { clicks.Add(click); },
               "at frame F click mouse area N of GAUGE (hold: press, hold K frames, release; repeatable)")
        ->type_name("F:GAUGE:N[:left|right|hold=K]");
}

}  // namespace command_line
