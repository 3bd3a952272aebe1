#include "sim/run_resources.h"

#include <cstdlib>
#include <optional>

#include "sim/host_desktop.h"
#include "sim/module_run.h"
#include "sim/objects_table.h"
#include "sim/sound_capture.h"

struct RunResources {
    std::unique_ptr<ObjectsTable> table;
    std::unique_ptr<SoundCapture> sound;
    std::optional<std::string> previousSimRoot;  // AVRION_SIM_ROOT before the run
};

RunResourcesPtr OpenRunResources(const RunSetup& setup, std::string& error, std::vector<std::string>& warnings) {
    RunResourcesPtr resources(new RunResources);
    if (const char* simRoot = std::getenv("AVRION_SIM_ROOT")) resources->previousSimRoot = simRoot;
    switch (setup.table) {
        case RunSetup::Table::kForRun:
            resources->table = ObjectsTable::ForRun(setup.objects, error);
            break;
        case RunSetup::Table::kClaimed:
            resources->table = ObjectsTable::Claim(setup.objects, setup.claimant, error);
            break;
        case RunSetup::Table::kAsItIs:
            break;
    }
    if (setup.table != RunSetup::Table::kAsItIs && !resources->table) return nullptr;
    // The module opens its sound device as it loads, so the device comes first.
    std::string soundError;
    if (setup.sound == RunSetup::Sound::kRecorded) {
        resources->sound = SoundCapture::Open(setup.soundFile, soundError);
        if (!resources->sound) warnings.push_back("no sound recorded: " + soundError);
    } else if (setup.sound == RunSetup::Sound::kSilent) {
        resources->sound = SoundCapture::Silent(soundError);
        if (!resources->sound) warnings.push_back(soundError);
    }
    return resources;
}

SoundCapture* SoundOf(RunResources& resources) {
    return resources.sound && !resources.sound->path().empty() ? resources.sound.get() : nullptr;
}

void CloseSound(RunResources& resources) { resources.sound.reset(); }

void CloseRunResources::operator()(RunResources* resources) const {
    const std::optional<std::string> previous = resources->previousSimRoot;
    delete resources;
    if (previous)
        setenv("AVRION_SIM_ROOT", previous->c_str(), 1);
    else
        unsetenv("AVRION_SIM_ROOT");
}

std::vector<std::string> ModuleMessageBoxes() {
    std::vector<std::string> boxes;
    for (const HostDesktop::Message& message : HostDesktop::Instance().messages())
        boxes.push_back("[" + message.caption + "] " + message.text);
    return boxes;
}

void ClearModuleMessageBoxes() { HostDesktop::Instance().ClearMessages(); }
