// Profile files and paths on Linux. There is no simulator executable here:
// the host names the simulator's root folder in AVRION_SIM_ROOT, and without
// it the folder of the running program stands in for it.
#include "platform/profile_files.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "common/profile_reader.h"

namespace platform {
namespace {
// Name given to the stand-in executable inside a named root folder.
constexpr const char* kStandInExecutable = "/FS9.EXE";
}  // namespace

std::string MainExecutablePath() {
    if (const char* root = std::getenv("AVRION_SIM_ROOT"); root != nullptr && *root != '\0') {
        std::string path(root);
        while (path.size() > 1 && path.back() == '/') path.pop_back();
        return path + kStandInExecutable;
    }
    char buffer[kMaxPath];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return std::string();
    return std::string(buffer, static_cast<std::size_t>(length));
}

bool AppendPath(std::string& folder, const char* more) {
    std::string relative(more);
    for (char& c : relative)
        if (c == '\\') c = '/';
    const auto start = relative.find_first_not_of('/');
    relative = start == std::string::npos ? std::string() : relative.substr(start);

    std::string result = folder;
    if (!result.empty() && result.back() != '/' && !relative.empty()) result += '/';
    result += relative;
    if (result.size() >= kMaxPath) return false;
    folder = result;
    return true;
}

int ReadProfileInt(const char* section, const char* key, int defaultValue, const std::string& path) {
    if (path.empty()) return defaultValue;
    std::ifstream file(path, std::ios::binary);
    if (!file) return defaultValue;
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) return defaultValue;
    return ProfileIntFromText(text, section, key, defaultValue);
}

}  // namespace platform

namespace platform {

std::string NativePath(const char* windowsPath) {
    std::string path(windowsPath != nullptr ? windowsPath : "");
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

}  // namespace platform
