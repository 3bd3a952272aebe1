#include "platform/resources.h"

#include "posix/host_lookup.h"

namespace platform {

bool LoadMainExecutableResource(const char* name, const char* type, std::vector<std::uint8_t>& bytes) {
    const AvrionHostServices* host = HostServices();
    if (name == nullptr || type == nullptr || host == nullptr || host->loadResource == nullptr) return false;
    const void* data = nullptr;
    std::size_t size = 0;
    if (!host->loadResource(name, type, &data, &size) || data == nullptr || size == 0) return false;
    const auto* first = static_cast<const std::uint8_t*>(data);
    bytes.assign(first, first + size);
    return true;
}

}  // namespace platform
