// Opens a gauge module file the way the simulator does and finds its two
// exported records by name.
#pragma once

#include <string>

#include "frame/panel_records.h"

class ModuleLibrary {
public:
    ModuleLibrary() = default;
    ~ModuleLibrary();
    ModuleLibrary(const ModuleLibrary&) = delete;
    ModuleLibrary& operator=(const ModuleLibrary&) = delete;

    // Empty on success, otherwise what went wrong, for a person to read.
    std::string Open(const std::string& path);
    void Close();
    bool IsOpen() const { return handle_ != nullptr; }

    MODULE_LINKAGE* linkage() const { return linkage_; }
    IMPORT_TABLE* importTable() const { return importTable_; }

private:
    void* handle_ = nullptr;
    MODULE_LINKAGE* linkage_ = nullptr;
    IMPORT_TABLE* importTable_ = nullptr;
};

// Operating-system half of the loader (loader/posix, loader/win32).
namespace dynamic_library {
void* Open(const std::string& path, std::string& error);
void* Symbol(void* library, const char* name);
void Close(void* library);
}  // namespace dynamic_library
