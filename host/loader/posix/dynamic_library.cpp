#include <dlfcn.h>

#include "loader/module_library.h"
#include "sim/host_desktop.h"

namespace dynamic_library {

void* Open(const std::string& path, std::string& error) {
    // The module looks for the host's desktop services in this executable.
    static_cast<void>(HostDesktop::PublishedServices());
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = dlerror();
        error = reason != nullptr ? reason : "unknown error";
    }
    return library;
}

void* Symbol(void* library, const char* name) { return dlsym(library, name); }

void Close(void* library) { dlclose(library); }

}  // namespace dynamic_library
