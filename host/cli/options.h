// The host's command line.
#pragma once

#include <string>
#include <vector>

#include "cli/click_schedule.h"
#include "sim/variable_settings.h"

struct HostOptions {
    std::string simRoot;     // empty: the host program's own folder
    std::string modulePath;  // empty: the module beside the host program
    int frames = 18;
    double frameRate = 18.0;
    std::vector<VariableSetting> variables;
    std::vector<SlotSetting> slots;
    std::string soundFile;  // empty: sound goes to the default output
    ClickSchedule clicks;
    bool realTime = false;  // frames paced to the frame rate, as the simulator runs them
    bool help = false;
    bool listVariables = false;
};

// Empty on success, else a message for the user.
std::string ParseHostOptions(int argc, char** argv, HostOptions& options);
const char* HostUsage();
