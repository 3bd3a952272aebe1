// Profile files and paths through the Windows API itself.
#include "platform/profile_files.h"

#include <shlwapi.h>
#include <windows.h>

namespace platform {

std::string MainExecutablePath() {
    char buffer[kMaxPath] = {};
    const DWORD length = GetModuleFileNameA(nullptr, buffer, kMaxPath);
    if (length == 0 || length >= kMaxPath) return std::string();
    return std::string(buffer, length);
}

bool AppendPath(std::string& folder, const char* more) {
    char buffer[kMaxPath] = {};
    if (folder.size() >= kMaxPath) return false;
    folder.copy(buffer, folder.size());
    if (!PathAppendA(buffer, more)) return false;
    folder = buffer;
    return true;
}

int ReadProfileInt(const char* section, const char* key, int defaultValue, const std::string& path) {
    return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, path.c_str()));
}

}  // namespace platform

namespace platform {

std::string NativePath(const char* windowsPath) { return std::string(windowsPath != nullptr ? windowsPath : ""); }

}  // namespace platform
