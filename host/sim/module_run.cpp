#include "sim/module_run.h"

#include <filesystem>

#include "sim/run_resources.h"
#include "state/shared_slots.h"

ModuleRun::ModuleRun(RunSetup setup) : setup_(std::move(setup)) {
    std::error_code error;
    previousFolder_ = std::filesystem::current_path(error).string();
}

std::unique_ptr<ModuleRun> ModuleRun::Open(const RunSetup& setup, std::string& error,
                                           std::vector<std::string>* warnings) {
    std::unique_ptr<ModuleRun> run(new ModuleRun(setup));
    std::vector<std::string> noted;
    run->resources_ = OpenRunResources(setup, error, noted);
    if (!run->resources_) return nullptr;
    if (std::string fault = ModuleHost::SetSimRoot(setup.simRoot); !fault.empty()) {
        error = fault;
        return nullptr;
    }
    run->simulator_ = std::make_unique<Simulator>();
    run->ResetSimulator();
    run->siblings_ = std::make_unique<SiblingModules>();
    std::vector<SlotSetting> slots = setup.slots;
    bool busGiven = false;
    for (const SlotSetting& slot : slots) busGiven = busGiven || slot.slot == shared_slot::kBusPower;
    if (setup.powerTheBus && !busGiven) slots.insert(slots.begin(), SlotSetting{shared_slot::kBusPower, 1.0});
    for (const SlotSetting& slot : slots)
        if (!run->siblings_->SetSlot(slot.slot, slot.value))
            noted.push_back("could not set shared slot " + std::to_string(slot.slot));
    if (warnings != nullptr) warnings->insert(warnings->end(), noted.begin(), noted.end());
    return run;
}

ModuleRun::~ModuleRun() {
    host_.reset();
    siblings_.reset();
    simulator_.reset();
    resources_.reset();
    std::error_code ignored;
    if (!previousFolder_.empty()) std::filesystem::current_path(previousFolder_, ignored);
}

std::string ModuleRun::Load() { return Load(setup_.modulePath); }

std::string ModuleRun::Load(const std::string& modulePath) {
    // The module before is shut down first, so that two never share the simulator.
    return host_->Load(modulePath);
}

void ModuleRun::Unload() {
    if (host_) host_->Unload();
}

void ModuleRun::ResetSimulator() {
    host_.reset();
    simulator_ = std::make_unique<Simulator>();
    simulator_->frameRate = setup_.frameRate;
    for (const VariableSetting& variable : setup_.variables) Apply(variable, *simulator_);
    host_ = std::make_unique<ModuleHost>(*simulator_);
}

SoundCapture* ModuleRun::sound() { return resources_ ? SoundOf(*resources_) : nullptr; }

void ModuleRun::CloseSound() {
    Unload();
    if (resources_) ::CloseSound(*resources_);
}
