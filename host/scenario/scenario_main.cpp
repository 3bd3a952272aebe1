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

#include "cli/host_paths.h"
#include "loader/module_host.h"
#include "render/label.h"
#include "scenario/progress_bar.h"
#include "scenario/scenario.h"
#include "scenario/scenario_command.h"
#include "scenario/scenario_json.h"
#include "scenario/scenario_pictures.h"
#include "scenario/scenario_runner.h"
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
    bool pictures = true;
    bool sound = true;
};

const char* Usage() {
    return "usage: avrion-scenario [options] SCENARIO.yaml\n"
           "  --module FILE     the gauge module (default: the one beside this program)\n"
           "  --sim-root DIR    the simulator's root folder (default: this program's folder)\n"
           "  --output DIR      where trace.csv and summary.txt go (default: scenario-output/NAME)\n"
           "  --real-time       run at the pace of simulator time\n"
           "  --fast            run as fast as possible, whatever the scenario says\n"
           "  --check           read the scenario and check it against the module; run no frame\n"
           "  --compile FILE    check it so and write it as JSON for the Windows avrion-scenario; run no frame\n"
           "  --layout FILE     panel layout for pictures (default: SIM_ROOT/panel/panel.cfg)\n"
           "  --bitmaps DIR     the gauges' bitmaps for pictures (default: module/resources/bitmaps)\n"
           "  --no-pictures     take no pictures\n"
           "  --no-sound        record no sound.wav\n"
           "The format of scenario files: host/scenario/README.md.\n";
}

std::string ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        bool taken = false;
        if (std::string fault = scenario::command::TakeCommonArgument(argc, argv, i, options, taken); !fault.empty())
            return fault;
        if (taken) continue;
        const std::string argument = argv[i];
        const auto value = [&](std::string& into) {
            if (i + 1 >= argc) return false;
            into = argv[++i];
            return true;
        };
        if (argument == "--sim-root") {
            if (!value(options.simRoot)) return "--sim-root needs a folder";
        } else if (argument == "--layout") {
            if (!value(options.layoutPath)) return "--layout needs a file";
        } else if (argument == "--bitmaps") {
            if (!value(options.bitmapFolder)) return "--bitmaps needs a folder";
        } else if (argument == "--no-pictures") {
            options.pictures = false;
        } else if (argument == "--no-sound") {
            options.sound = false;
        } else if (argument == "--compile") {
            if (!value(options.compiledPath)) return "--compile needs a file";
        } else {
            return "unknown option " + argument;
        }
    }
    return scenario::command::CheckCommonOptions(options);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (std::string error = ParseOptions(argc, argv, options); !error.empty()) {
        std::cerr << "avrion-scenario: " << error << "\n" << Usage();
        return kRefused;
    }
    if (options.help) {
        std::cout << Usage();
        return 0;
    }

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
    // The module opens its sound device as it loads, so the recording comes first.
    std::unique_ptr<SoundCapture> sound;
    if (options.sound && !options.checkOnly && options.compiledPath.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(outputFolder, ignored);
        std::string error;
        sound = SoundCapture::Open((std::filesystem::path(outputFolder) / "sound.wav").string(), error);
        if (!sound) std::cerr << "avrion-scenario: warning: no sound recorded: " << error << "\n";
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
        run.picture = [&pictures](const scenario::Picture& picture, double) {
            pictures.Take(picture.name);
            return std::string();
        };
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
    if (sound) std::cout << "sound: " << sound->path() << " (" << sound->recordedSeconds() << " s)\n";
    std::cout << "output: " << outputFolder << "\n";
    return result.ok() ? 0 : kFailed;
}
