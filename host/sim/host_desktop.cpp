#include "sim/host_desktop.h"

#include <cstring>

#include "platform/host_services.h"

extern "C" {
// Found by the module in the executable's exported symbols.
__attribute__((visibility("default"))) extern const struct AvrionHostServices AvrionHostServices;
const struct AvrionHostServices AvrionHostServices = {
    HostDesktop::LoadResource,
    HostDesktop::ShowMessageBox,
    HostDesktop::FindWindow,
    platform::OwnKernelObjects(),
    HostDesktop::AudioContext,
};
}

namespace {
// Stands for the simulator's main window; only its address matters.
char mainWindow;
constexpr const char* kMainWindowClass = "FS98MAIN";
}  // namespace

HostDesktop& HostDesktop::Instance() {
    static HostDesktop desktop;
    return desktop;
}

void HostDesktop::AddResource(const std::string& name, const std::string& type, std::vector<std::uint8_t> bytes) {
    resources_[{name, type}] = std::move(bytes);
}

bool HostDesktop::LoadResource(const char* name, const char* type, const void** data, std::size_t* bytes) {
    const auto& resources = Instance().resources_;
    auto found = resources.find({name, type});
    if (found == resources.end() || found->second.empty()) return false;
    *data = found->second.data();
    *bytes = found->second.size();
    return true;
}

int HostDesktop::ShowMessageBox(const char* text, const char* caption, std::uint32_t style) {
    Instance().messages_.push_back({text != nullptr ? text : "", caption != nullptr ? caption : "", style});
    return Instance().messageBoxAnswer;
}

void* HostDesktop::FindWindow(const char* className) {
    const bool ours = className != nullptr && std::strcmp(className, kMainWindowClass) == 0;
    return ours && Instance().mainWindowPresent ? &mainWindow : nullptr;
}

void* HostDesktop::AudioContext() { return Instance().audioContext; }

const void* HostDesktop::PublishedServices() { return &AvrionHostServices; }
