#include "sim/run_resources.h"

struct RunResources {};

RunResourcesPtr OpenRunResources(const RunSetup&, std::string&, std::vector<std::string>&) {
    return RunResourcesPtr(new RunResources);
}

SoundCapture* SoundOf(RunResources&) { return nullptr; }

void CloseSound(RunResources&) {}

void CloseRunResources::operator()(RunResources* resources) const { delete resources; }

std::vector<std::string> ModuleMessageBoxes() { return {}; }

void ClearModuleMessageBoxes() {}
