#include "loader/module_host.h"

#include "sim/gauge_access.h"

#include <cstdlib>
#include <filesystem>

std::string ModuleHost::Load(const std::string& modulePath) {
    Unload();
    if (std::string error = library_.Open(modulePath); !error.empty()) return error;

    MODULE_LINKAGE* linkage = library_.linkage();
    for (int i = 0; i <= kGaugeCount && linkage->gauges[i] != nullptr; ++i) gauges_.push_back(linkage->gauges[i]);

    AttachTextBuffers();
    simulatorFields_.WriteAtCreation(gauges_);
    library_.importTable()->panels.pointer = simulator_.Panels();
    if (linkage->moduleInit != nullptr) linkage->moduleInit();
    return std::string();
}

void ModuleHost::Unload() {
    if (!library_.IsOpen()) return;
    if (library_.linkage()->moduleDeinit != nullptr) library_.linkage()->moduleDeinit();
    gauges_.clear();
    textBuffers_.clear();
    library_.Close();
}

void ModuleHost::RunFrame() {
    simulator_.BeginFrame();
    simulatorFields_.WriteAtFrame(gauges_);
    for (GAUGEHDR* gauge : gauges_) Service(gauge, kServicePreUpdate);
}

void ModuleHost::Service(GAUGEHDR* gauge, int serviceId) {
    if (gauge != nullptr && gauge->callback != nullptr) gauge->callback(gauge, serviceId, 0);
}

namespace {
constexpr std::size_t kGuardBytes = 16;
constexpr char kGuard = '\x5A';
}  // namespace

void ModuleHost::AttachTextBuffers() {
    for (GAUGEHDR* gauge : gauges_)
        for (ELEMENT_HEADER* element : gauge_access::Elements(gauge)) {
            if (element->kind != kElementString) continue;
            auto* string = reinterpret_cast<ELEMENT_STRING*>(element);
            const std::size_t characters = string->charCount;
            std::vector<char>& buffer = textBuffers_.emplace_back(characters + 1 + kGuardBytes, kGuard);
            buffer[0] = '\0';
            string->text = buffer.data();
        }
}

void ModuleHost::PlaceGauge(std::string_view name, GaugeSite site) {
    simulatorFields_.Place(name, std::move(site));
    if (loaded()) simulatorFields_.WriteAtCreation(gauges_);
}

bool ModuleHost::TextBuffersIntact() const {
    for (const std::vector<char>& buffer : textBuffers_)
        for (std::size_t i = buffer.size() - kGuardBytes; i < buffer.size(); ++i)
            if (buffer[i] != kGuard) return false;
    return true;
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
