// On Linux there is no simulator executable to ask for its resources, its
// main window or a message box. A host program that loads the module offers
// them by exporting this record from its own executable under the name in
// kHostServicesSymbol; the module's POSIX back end looks it up there. Every
// entry may be null.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/kernel_objects.h"

extern "C" {

// The named kernel objects of the process, as one table. Windows has one
// object table per process, shared by every module in it; on Linux each
// module carries its own copy of the back end, so the host publishes its copy
// and the module uses that one. The module's handles then share files with
// the siblings the host plays, as modules in one process share handles.
struct AvrionKernelObjects {
    platform::Handle (*openEvent)(const char* name);
    platform::Handle (*createEvent)(const char* name, bool manualReset, bool initiallySignalled);
    bool (*testEvent)(platform::Handle event);
    bool (*resetEvent)(platform::Handle event);
    bool (*setEvent)(platform::Handle event);
    platform::Handle (*openMapping)(const char* name);
    platform::Handle (*createMapping)(const char* name, std::size_t bytes);
    void* (*mapView)(platform::Handle mapping, std::size_t bytes);
    void (*unmapView)(void* view, std::size_t bytes);
    void (*close)(platform::Handle object);
};

struct AvrionHostServices {
    // The bytes of a resource of the executable, or false.
    bool (*loadResource)(const char* name, const char* type, const void** data, std::size_t* bytes);
    // Shows (or logs) a message box; returns the button chosen.
    int (*showMessageBox)(const char* text, const char* caption, std::uint32_t style);
    // The host's window standing for the simulator's main window, or null.
    void* (*findWindow)(const char* className);
    // The process's named kernel objects; null: each module keeps its own.
    const AvrionKernelObjects* kernelObjects;
    // An OpenAL context (ALCcontext*) owned by the host for the module to play
    // into, e.g. a loopback device the host records in simulator time; null:
    // the module opens the default output itself.
    void* (*audioContext)();
};

}  // extern "C"

namespace platform {
inline constexpr const char* kHostServicesSymbol = "AvrionHostServices";

// This copy of the POSIX back end's kernel objects, for a host to publish.
const AvrionKernelObjects* OwnKernelObjects();
}  // namespace platform
