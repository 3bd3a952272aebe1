// Where the host program finds itself and the module beside it.
#pragma once

#include <string>

namespace host_paths {

#if defined(_WIN32)
inline constexpr const char* kModuleFileName = "Kesta_Avrion_0_018.gau";
#else
inline constexpr const char* kModuleFileName = "Kesta_Avrion_0_018.so";
#endif

std::string ProgramFolder();
bool IsFolder(const std::string& path);
std::string Absolute(const std::string& path);

}  // namespace host_paths
