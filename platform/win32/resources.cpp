#include "platform/resources.h"

#include <windows.h>

namespace platform {

bool LoadMainExecutableResource(const char* name, const char* type, std::vector<std::uint8_t>& bytes) {
    HMODULE executable = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(nullptr, name, type);
    if (found == nullptr) return false;
    HGLOBAL loaded = LoadResource(executable, found);
    const DWORD size = SizeofResource(executable, found);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr || size == 0) return false;
    const auto* first = static_cast<const std::uint8_t*>(data);
    bytes.assign(first, first + size);
    return true;
}

}  // namespace platform
