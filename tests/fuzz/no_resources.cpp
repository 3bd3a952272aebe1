// The main executable of a test program has no sound resources.
#include "platform/resources.h"

namespace platform {

bool LoadMainExecutableResource(const char*, const char*, std::vector<std::uint8_t>&) { return false; }

}  // namespace platform
