// avrion-scenario: plays a scripted flight through the gauge module and checks
// what its gauges, slots and windows show. Exit status 0 when every
// expectation held, 1 when one did not or the run went wrong, 2 when the
// scenario or the command line was refused before any frame ran.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/command_line.h"
#include "cli/host_paths.h"
#include "loader/module_host.h"
#include "render/label.h"
#include "scenario/progress_bar.h"
#include "scenario/scenario.h"
#include "scenario/scenario_command.h"
#include "scenario/scenario_json.h"
#include "scenario/scenario_pictures.h"
#include "scenario/scenario_runner.h"
#include "sim/objects_table.h"
#include "sim/sibling_modules.h"
#include "sim/simulator.h"
#include "sim/sound_capture.h"

namespace {

using scenario::command::kFailed;
using scenario::command::kRefused;

struct Options : scenario::command::CommonOptions {
    std::string simRoot;
    std::string layoutPath;
    std::string bitmapFolder = "module/resources/bitmaps";
    std::string compiledPath;
    std::string objects;
    bool pictures = true;
    bool sound = true;
    bool soundDevice = false;
};

std::optional<int> ParseOptions(int argc, char** argv, Options& options) {
    CLI::App app{"Plays a scripted flight through the gauge module and checks what its gauges, slots and windows "
                 "show. The format of scenario files: host/scenario/README.md. Exit status 0 when every expectation "
                 "held, 1 when one did not or the run went wrong, 2 when the command line or the scenario was "
                 "refused before any frame ran.",
                 "avrion-scenario"};
    command_line::Describe(app);
    scenario::command::AddCommonOptions(app, options, "the one beside this program");
    command_line::AddSimRoot(app, options.simRoot);
    command_line::AddObjects(app, options.objects, "a table of the run's own, removed when it ends");
    app.add_option("--compile", options.compiledPath,
                   "check the scenario and write it as JSON for the Windows avrion-scenario; run no frame")
        ->type_name("FILE");
    app.add_option("--layout", options.layoutPath, "panel layout for pictures (default: SIM_ROOT/panel/panel.cfg)")
        ->type_name("FILE");
    app.add_option("--bitmaps", options.bitmapFolder, "the gauges' bitmaps for pictures")
        ->type_name("DIR")
        ->capture_default_str();
    app.add_flag("!--no-pictures", options.pictures, "take no pictures");
    auto* noSound = app.add_flag("!--no-sound", options.sound, "record no sound.wav, and play nothing");
    app.add_flag("--sound-device", options.soundDevice,
                 "play to this machine's sound output instead of recording sound.wav (without one the module says "
                 "so, as in the simulator)")
        ->excludes(noSound);
    return command_line::Parse(app, argc, argv);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (const auto status = ParseOptions(argc, argv, options)) return *status;

    // Every path is fixed before the simulator root becomes the working folder.
    const std::string scenarioPath = host_paths::Absolute(options.scenarioPath);
    const std::string simRoot =
        host_paths::Absolute(options.simRoot.empty() ? host_paths::ProgramFolder() : options.simRoot);
    const std::string modulePath = host_paths::Absolute(options.modulePath.empty() ? host_paths::ProgramFolder() + "/" +
                                                                                         host_paths::kModuleFileName
                                                                                   : options.modulePath);
    const std::string layoutPath = host_paths::Absolute(
        options.layoutPath.empty() ? (std::filesystem::path(simRoot) / "panel" / "panel.cfg").string()
                                   : options.layoutPath);
    const std::string bitmapFolder = host_paths::Absolute(options.bitmapFolder);
    const std::string compiledPath =
        options.compiledPath.empty() ? std::string() : host_paths::Absolute(options.compiledPath);
    const std::string outputFolder = host_paths::Absolute(
        options.outputFolder.empty()
            ? (std::filesystem::path("scenario-output") / std::filesystem::path(scenarioPath).stem()).string()
            : options.outputFolder);

    // Messages name the file as it was given, which is how a person finds it.
    scenario::ParseResult parsed = scenario::LoadScenario(scenarioPath);
    parsed.scenario.file = options.scenarioPath;
    for (scenario::Problem& problem : parsed.problems) problem.where.file = options.scenarioPath;
    if (!parsed.ok()) return scenario::command::Refuse(parsed.problems, "the scenario was refused");
    const scenario::Scenario& flight = parsed.scenario;

    if (!host_paths::IsFolder(simRoot)) {
        std::cerr << "avrion-scenario: the simulator root " << simRoot << " is not a folder\n";
        return kRefused;
    }
    if (std::string error = ModuleHost::SetSimRoot(simRoot); !error.empty()) {
        std::cerr << "avrion-scenario: " << error << "\n";
        return kRefused;
    }
    // The module opens its sound device as it loads, so the recording (or the silent device) comes first.
    std::unique_ptr<SoundCapture> sound;
    const bool recording = options.sound && !options.soundDevice && !options.checkOnly && options.compiledPath.empty();
    if (!options.soundDevice) {
        std::string error;
        if (recording) {
            std::error_code ignored;
            std::filesystem::create_directories(outputFolder, ignored);
            sound = SoundCapture::Open((std::filesystem::path(outputFolder) / "sound.wav").string(), error);
        } else {
            sound = SoundCapture::Silent(error);
        }
        if (!sound) std::cerr << "avrion-scenario: warning: " << (recording ? "no sound recorded: " : "") << error << "\n";
    }
    // A table of named objects of the run's own, unless told to share one.
    std::string tableError;
    const auto table = options.objects.empty() ? ObjectsTable::OfItsOwn(tableError)
                                               : ObjectsTable::Attach(host_paths::Absolute(options.objects), tableError);
    if (!table) {
        std::cerr << "avrion-scenario: " << tableError << "\n";
        return kRefused;
    }
    Simulator simulator;
    SiblingModules siblings;
    ModuleHost host(simulator);
    if (const auto status = scenario::command::LoadAndCheck(flight, modulePath, host, siblings)) return *status;
    if (!compiledPath.empty()) {
        std::ofstream compiled(compiledPath, std::ios::binary | std::ios::trunc);
        compiled << scenario::ScenarioToJson(flight);
        compiled.close();
        if (!compiled) {
            std::cerr << "avrion-scenario: cannot write " << compiledPath << "\n";
            return kFailed;
        }
        std::cout << options.scenarioPath << ": compiled to " << options.compiledPath << "\n";
        return 0;
    }
    if (options.checkOnly) {
        std::cout << options.scenarioPath << ": accepted (" << flight.LastFrame() << " frames, "
                  << flight.expectations.size() << " expectations)\n";
        return 0;
    }

    ProgressBar progress(std::cerr, isatty(STDERR_FILENO) != 0);
    scenario::RunOptions run;
    run.outputFolder = outputFolder;
    run.realTime = options.realTime;
    run.progress = &progress;
    run.modulePath = modulePath;
    ScenarioPictures pictures;
    const double frameSeconds = 1.0 / flight.frameRate;
    run.afterFrame = [&] {
        if (options.pictures) pictures.AfterFrame();
        if (sound) sound->Advance(frameSeconds);
    };
    if (options.pictures) {
        std::error_code ignored;
        std::filesystem::create_directories(outputFolder, ignored);
        const std::string error = pictures.Open(layoutPath, bitmapFolder, host, simulator, outputFolder,
                                                std::filesystem::path(modulePath).stem().string());
        if (!error.empty()) std::cerr << "avrion-scenario: warning: no pictures: " << error << "\n";
        run.picture = [&pictures](const std::string& name, double) { pictures.Take(name); };
    }
    // The run clears its progress bar when it ends.
    const scenario::RunResult result = scenario::RunScenario(flight, host, simulator, siblings, run);
    if (options.pictures) pictures.ContactSheet();
    for (const std::string& problem : pictures.problems()) std::cerr << "avrion-scenario: " << problem << "\n";
    host.Unload();
    render::ReleaseFontCaches();

    if (!result.error.empty()) {
        std::cerr << "avrion-scenario: " << result.error << "\n";
        return kRefused;
    }
    std::cout << scenario::Summary(flight, result, run);
    std::cout << "pictures written: " << pictures.written().size() << "\n";
    if (recording && sound) std::cout << "sound: " << sound->path() << " (" << sound->recordedSeconds() << " s)\n";
    std::cout << "output: " << outputFolder << "\n";
    return result.ok() ? 0 : kFailed;
}
