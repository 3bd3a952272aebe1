// On Linux there is no simulator executable to ask for its resources, its
// main window or a message box. A host program that loads the module offers
// them by exporting this record from its own executable under the name in
// kHostServicesSymbol; the module's POSIX back end looks it up there. Every
// entry may be null.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

struct AvrionHostServices {
    // The bytes of a resource of the executable, or false.
    bool (*loadResource)(const char* name, const char* type, const void** data, std::size_t* bytes);
    // Shows (or logs) a message box; returns the button chosen.
    int (*showMessageBox)(const char* text, const char* caption, std::uint32_t style);
    // The host's window standing for the simulator's main window, or null.
    void* (*findWindow)(const char* className);
};

}  // extern "C"

namespace platform {
inline constexpr const char* kHostServicesSymbol = "AvrionHostServices";
}  // namespace platform
