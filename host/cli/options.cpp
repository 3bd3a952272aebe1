#include "cli/options.h"

#include <charconv>
#include <string_view>

namespace {

constexpr int kMostFrames = 100000000;

bool ParseInt(std::string_view text, int& value) {
    const char* end = text.data() + text.size();
    return std::from_chars(text.data(), end, value).ptr == end;
}

bool ParseDouble(std::string_view text, double& value) {
    const char* end = text.data() + text.size();
    return std::from_chars(text.data(), end, value).ptr == end;
}

}  // namespace

const char* HostUsage() {
    return "usage: avrion-host [options]\n"
           "Loads the gauge module as the simulator does, runs it for some frames and prints\n"
           "the snapshot it took and everything it asked of the simulator.\n"
           "\n"
           "  --sim-root DIR       simulator root folder with Gauges/ and Aircraft/ (default: this program's folder)\n"
           "  --module FILE        the gauge module (default: the module beside this program)\n"
           "  --frames N           frames to run (default 18)\n"
           "  --frame-rate HZ      frames per simulator second (default 18)\n"
           "  --var NAME=VALUE     set a simulator variable, by name or token (repeatable)\n"
           "  --vars FILE          read NAME = VALUE lines from a file\n"
           "  --slot N=VALUE       set shared slot N as a sibling module would (repeatable)\n"
           "  --click F:GAUGE:N[:left|right|hold=K]\n"
           "                       at frame F click mouse area N of GAUGE (hold: press, hold K frames, release)\n"
           "  --sound-file FILE    write everything the module plays to a WAV file instead of the speakers\n"
           "  --real-time          run the frames at the frame rate instead of at once (implied by --sound-file)\n"
           "  --list-variables     list the simulator variables the module looks up\n"
           "  --help               show this text\n";
}

std::string ParseHostOptions(int argc, char** argv, HostOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (option == "--help" || option == "-h") {
            options.help = true;
            continue;
        }
        if (option == "--real-time") {
            options.realTime = true;
            continue;
        }
        if (option == "--list-variables") {
            options.listVariables = true;
            continue;
        }
        if (i + 1 >= argc) return "option " + std::string(option) + " needs a value (see --help)";
        const std::string_view value = argv[++i];
        std::string error;
        if (option == "--sim-root") {
            options.simRoot = value;
        } else if (option == "--module") {
            options.modulePath = value;
        } else if (option == "--frames") {
            if (!ParseInt(value, options.frames) || options.frames < 0 || options.frames > kMostFrames)
                error = "--frames takes a whole number from 0 to " + std::to_string(kMostFrames);
        } else if (option == "--frame-rate") {
            if (!ParseDouble(value, options.frameRate) || !(options.frameRate > 0.0) || options.frameRate > 1000.0)
                error = "--frame-rate takes a number above 0 and at most 1000";
        } else if (option == "--var") {
            VariableSetting setting;
            error = ParseVariableSetting(value, setting);
            options.variables.push_back(setting);
        } else if (option == "--vars") {
            error = ReadVariableFile(std::string(value), options.variables);
        } else if (option == "--sound-file") {
            options.soundFile = value;
            options.realTime = true;  // the wave writer records in real time
        } else if (option == "--click") {
            ScheduledClick click;
            error = ParseClick(value, click);
            options.clicks.Add(click);
        } else if (option == "--slot") {
            SlotSetting setting;
            error = ParseSlotSetting(value, setting);
            options.slots.push_back(setting);
        } else {
            error = "unknown option " + std::string(option) + " (see --help)";
        }
        if (!error.empty()) return error;
    }
    return std::string();
}
