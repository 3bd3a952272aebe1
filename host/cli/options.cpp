#include "cli/options.h"

#include "cli/command_line.h"
#include "sim/objects_table.h"

namespace {
constexpr int kMostFrames = 100000000;
}  // namespace

std::optional<int> ParseHostOptions(int argc, char** argv, HostOptions& options) {
    CLI::App app{"Loads the gauge module as the simulator does, runs it for some frames and prints the snapshot it "
                 "took and everything it asked of the simulator.",
                 "avrion-host"};
    command_line::Describe(app);
    command_line::AddSimRoot(app, options.simRoot);
    command_line::AddModule(app, options.modulePath);
    command_line::AddObjects(app, options.objects, ObjectsTable::DefaultFolder() + ", claimed for this run");
    app.add_option("--frames", options.frames, "frames to run")
        ->type_name("N")
        ->check(CLI::Range(0, kMostFrames))
        ->capture_default_str();
    command_line::AddFrameRate(app, options.frameRate, 0.001);
    command_line::AddVariables(app, options.variables);
    command_line::AddSlots(app, options.slots);
    command_line::AddClicks(app, options.clicks);
    app.add_option("--sound-file", options.soundFile,
                   "write everything the module plays to a WAV file instead of the speakers (implies --real-time)")
        ->type_name("FILE");
    app.add_flag("--real-time", options.realTime, "run the frames at the frame rate instead of at once");
    app.add_flag("--list-variables", options.listVariables, "list the simulator variables the module looks up");
    if (auto status = command_line::Parse(app, argc, argv)) return status;
    if (!options.soundFile.empty()) options.realTime = true;  // the wave writer records in real time
    return std::nullopt;
}
