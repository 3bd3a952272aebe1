// The host program's services, found in the process's main executable.
#pragma once

#include "platform/host_services.h"

namespace platform {
const AvrionHostServices* HostServices();
}  // namespace platform
