// avrion-host: runs the gauge module without the simulator.
#include <chrono>
#include <iostream>
#include <thread>

#include "cli/options.h"
#include "cli/report.h"
#include "cli/sound_output.h"
#include "host_paths.h"
#include "sim/module_run.h"
#include "sim/variable_catalogue.h"

int main(int argc, char** argv) {
    HostOptions options;
    if (const auto status = ParseHostOptions(argc, argv, options)) return *status;
    if (options.listVariables) {
        for (const variables::Variable& variable : variables::All())
            if (variable.access != variables::Access::kAircraft)
                std::cout << variable.token << "\t" << variable.name << "\t" << variable.meaning << "\n";
        return 0;
    }

    const std::string simRoot = options.simRoot.empty() ? host_paths::ProgramFolder() : options.simRoot;
    const std::string modulePath = options.modulePath.empty()
                                       ? host_paths::ProgramFolder() + "/" + host_paths::kModuleFileName
                                       : options.modulePath;
    if (!host_paths::IsFolder(simRoot)) {
        std::cerr << "avrion-host: the simulator root " << simRoot << " is not a folder\n";
        return 2;
    }

    // The table avrion-slots attaches to, claimed before anything opens an object in it.
    RunSetup setup;
    setup.simRoot = simRoot;
    setup.modulePath = modulePath;
    setup.table = RunSetup::Table::kClaimed;
    setup.objects = options.objects;
    setup.claimant = "avrion-host";
    setup.frameRate = options.frameRate;
    setup.variables = options.variables;
    setup.slots = options.slots;
    std::string error;
    std::vector<std::string> warnings;
    const auto run = ModuleRun::Open(setup, error, &warnings);
    if (!run) {
        std::cerr << "avrion-host: " << error << "\n";
        return 1;
    }
    if (!run->siblings().valid()) std::cerr << "avrion-host: warning: cannot hold the shared slot block open\n";
    for (const std::string& warning : warnings) std::cerr << "avrion-host: warning: " << warning << "\n";
    if (!options.soundFile.empty())
        if (std::string fault = SendSoundToFile(options.soundFile); !fault.empty()) {
            std::cerr << "avrion-host: " << fault << "\n";
            return 2;
        }
    if (std::string fault = run->Load(); !fault.empty()) {
        std::cerr << "avrion-host: " << fault << "\n";
        return 1;
    }
    std::cout << "Loaded " << modulePath << " with simulator root " << simRoot << "\n";
    const auto framePeriod = std::chrono::duration<double>(1.0 / options.frameRate);
    auto nextFrame = std::chrono::steady_clock::now();
    for (int frame = 0; frame < options.frames; ++frame) {
        for (const std::string& problem : options.clicks.BeforeFrame(frame, run->host()))
            std::cerr << "avrion-host: warning: " << problem << "\n";
        run->host().RunFrame();
        if (options.realTime) {
            nextFrame += std::chrono::duration_cast<std::chrono::steady_clock::duration>(framePeriod);
            std::this_thread::sleep_until(nextFrame);
        }
    }
    PrintRunReport(std::cout, run->host(), run->simulator(), run->siblings(), options.frames);
    return 0;
}
