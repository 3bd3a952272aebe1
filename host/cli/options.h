// The host's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sim/click_schedule.h"
#include "sim/variable_settings.h"

struct HostOptions {
    std::string simRoot;     // empty: the host program's own folder
    std::string modulePath;  // empty: the module beside the host program
    std::string objects;     // empty: the default table, claimed for this run
    int frames = 18;
    double frameRate = 18.0;
    std::vector<VariableSetting> variables;
    std::vector<SlotSetting> slots;
    std::string soundFile;  // empty: sound goes to the default output
    ClickSchedule clicks;
    bool realTime = false;  // frames paced to the frame rate, as the simulator runs them
    bool listVariables = false;
};

// Nothing when the host goes on, else the exit status (0 after --help or
// --version, 2 for a refused command line).
std::optional<int> ParseHostOptions(int argc, char** argv, HostOptions& options);
