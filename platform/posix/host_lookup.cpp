#include "posix/host_lookup.h"

#include <dlfcn.h>

namespace platform {

const AvrionHostServices* HostServices() {
    // The executable's exported symbols are in the global scope, which the
    // module (loaded with local scope) still searches.
    return static_cast<const AvrionHostServices*>(dlsym(RTLD_DEFAULT, kHostServicesSymbol));
}

}  // namespace platform
