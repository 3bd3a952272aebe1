// Resources of the process's main executable (not of this library). On
// Windows these are the executable's own resources; on Linux the host
// program publishes a table of them (see host_services.h).
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// Copies the resource of that name and type into bytes. False when there is
// none, or it is empty.
bool LoadMainExecutableResource(const char* name, const char* type, std::vector<std::uint8_t>& bytes);

}  // namespace platform
