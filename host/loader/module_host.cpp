#include "loader/module_host.h"

#include <cstdlib>
#include <filesystem>

std::string ModuleHost::Load(const std::string& modulePath) {
    Unload();
    if (std::string error = library_.Open(modulePath); !error.empty()) return error;

    MODULE_LINKAGE* linkage = library_.linkage();
    for (int i = 0; i <= kGaugeCount && linkage->gauges[i] != nullptr; ++i) gauges_.push_back(linkage->gauges[i]);

    library_.importTable()->panels.pointer = simulator_.Panels();
    if (linkage->moduleInit != nullptr) linkage->moduleInit();
    return std::string();
}

void ModuleHost::Unload() {
    if (!library_.IsOpen()) return;
    if (library_.linkage()->moduleDeinit != nullptr) library_.linkage()->moduleDeinit();
    gauges_.clear();
    library_.Close();
}

void ModuleHost::RunFrame() {
    simulator_.BeginFrame();
    for (GAUGEHDR* gauge : gauges_) Service(gauge, kServicePreUpdate);
}

void ModuleHost::Service(GAUGEHDR* gauge, int serviceId) {
    if (gauge != nullptr && gauge->callback != nullptr) gauge->callback(gauge, serviceId, 0);
}

GAUGEHDR* ModuleHost::FindGauge(std::string_view name) const {
    for (GAUGEHDR* gauge : gauges_)
        if (gauge->name != nullptr && name == gauge->name) return gauge;
    return nullptr;
}

std::string ModuleHost::SetSimRoot(const std::string& folder) {
    // The simulator runs in its root folder: the module opens its sounds by
    // paths relative to it.
    std::error_code error;
    std::filesystem::current_path(folder, error);
    if (error) return "cannot enter the simulator root " + folder + ": " + error.message();
#if !defined(_WIN32)
    // Windows: the module finds the root from the executable's own folder.
    setenv("AVRION_SIM_ROOT", std::filesystem::current_path(error).string().c_str(), 1);
#endif
    return std::string();
}
