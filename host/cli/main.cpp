// avrion-host: runs the gauge module without the simulator.
#include <chrono>
#include <iostream>
#include <thread>

#include "cli/options.h"
#include "cli/report.h"
#include "cli/sound_output.h"
#include "host_paths.h"
#include "loader/module_host.h"
#include "sim/objects_table.h"
#include "sim/sibling_modules.h"
#include "sim/simulator.h"
#include "sim/variable_names.h"

int main(int argc, char** argv) {
    HostOptions options;
    if (const auto status = ParseHostOptions(argc, argv, options)) return *status;
    if (options.listVariables) {
        for (const auto& variable : variable_names::All())
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
    std::string tableError;
    const auto table = ObjectsTable::Claim(options.objects, "avrion-host", tableError);
    if (!table) {
        std::cerr << "avrion-host: " << tableError << "\n";
        return 1;
    }

    Simulator simulator;
    simulator.frameRate = options.frameRate;
    for (const VariableSetting& setting : options.variables) Apply(setting, simulator);

    SiblingModules siblings;
    if (!siblings.valid()) std::cerr << "avrion-host: warning: cannot hold the shared slot block open\n";
    for (const SlotSetting& slot : options.slots)
        if (!siblings.SetSlot(slot.slot, slot.value))
            std::cerr << "avrion-host: warning: could not set shared slot " << slot.slot << "\n";

    if (!options.soundFile.empty())
        if (std::string error = SendSoundToFile(options.soundFile); !error.empty()) {
            std::cerr << "avrion-host: " << error << "\n";
            return 2;
        }
    if (std::string error = ModuleHost::SetSimRoot(simRoot); !error.empty()) {
        std::cerr << "avrion-host: " << error << "\n";
        return 2;
    }
    ModuleHost host(simulator);
    if (std::string error = host.Load(modulePath); !error.empty()) {
        std::cerr << "avrion-host: " << error << "\n";
        return 1;
    }
    std::cout << "Loaded " << modulePath << " with simulator root " << simRoot << "\n";
    const auto framePeriod = std::chrono::duration<double>(1.0 / options.frameRate);
    auto nextFrame = std::chrono::steady_clock::now();
    for (int frame = 0; frame < options.frames; ++frame) {
        for (const std::string& problem : options.clicks.Deliver(frame, host))
            std::cerr << "avrion-host: warning: " << problem << "\n";
        host.RunFrame();
        if (options.realTime) {
            nextFrame += std::chrono::duration_cast<std::chrono::steady_clock::duration>(framePeriod);
            std::this_thread::sleep_until(nextFrame);
        }
    }
    PrintRunReport(std::cout, host, simulator, siblings, options.frames);
    host.Unload();
    return 0;
}
