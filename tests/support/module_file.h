// Where the test programs find the built gauge module: beside themselves.
#pragma once

#include <filesystem>
#include <string>

inline std::string BuiltModulePath() {
#if defined(_WIN32)
    return AVRION_MODULE_FILE;  // LoadLibrary looks beside the program first
#else
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / AVRION_MODULE_FILE).string();
#endif
}
