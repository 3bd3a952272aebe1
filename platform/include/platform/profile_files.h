// Profile (ini) files and the folder the simulator runs from.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// Longest path the module keeps, terminating zero included.
inline constexpr std::size_t kMaxPath = 260;

// Full path of the process's main executable (not of this library), or an
// empty string when it cannot be had. On Linux the host may name a simulator
// root folder instead (see posix/profile_files.cpp).
std::string MainExecutablePath();

// Appends a relative path to a folder with exactly one separator between
// them, as the shell's PathAppend does. False when the result would not fit
// in kMaxPath characters; the folder is then left unchanged.
bool AppendPath(std::string& folder, const char* more);

// Reads an integer key the way GetPrivateProfileIntA does: the default when
// the file, section or key is missing or the value is empty, otherwise the
// value's leading optionally signed decimal integer (0 when there is none),
// wrapping modulo 2^32.
int ReadProfileInt(const char* section, const char* key, int defaultValue, const std::string& path);

}  // namespace platform

namespace platform {

// A path written the Windows way (backslashes) in this system's own form.
std::string NativePath(const char* windowsPath);

}  // namespace platform
