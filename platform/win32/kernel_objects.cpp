// Named kernel objects are Windows' own; each call is the Win32 function.
#include "platform/kernel_objects.h"

#include <windows.h>

namespace platform {
namespace {
Handle FromWin32(HANDLE handle) { return static_cast<Handle>(static_cast<void*>(handle)); }
HANDLE ToWin32(Handle handle) { return static_cast<HANDLE>(static_cast<void*>(handle)); }
}  // namespace

Handle OpenNamedEvent(const char* name) { return FromWin32(OpenEventA(EVENT_ALL_ACCESS, FALSE, name)); }

Handle CreateNamedEvent(const char* name, bool manualReset, bool initiallySignalled) {
    return FromWin32(CreateEventA(nullptr, manualReset, initiallySignalled, name));
}

bool TestEvent(Handle event) { return WaitForSingleObject(ToWin32(event), 0) == WAIT_OBJECT_0; }
bool ResetNamedEvent(Handle event) { return ResetEvent(ToWin32(event)) != FALSE; }
bool SetNamedEvent(Handle event) { return SetEvent(ToWin32(event)) != FALSE; }

Handle OpenNamedMapping(const char* name) { return FromWin32(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name)); }

Handle CreateNamedMapping(const char* name, std::size_t bytes) {
    HANDLE mapping =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, static_cast<DWORD>(bytes), name);
    return mapping == INVALID_HANDLE_VALUE ? nullptr : FromWin32(mapping);
}

void* MapView(Handle mapping, std::size_t bytes) {
    return MapViewOfFile(ToWin32(mapping), FILE_MAP_ALL_ACCESS, 0, 0, bytes);
}

void UnmapView(void* view, std::size_t) { UnmapViewOfFile(view); }

void CloseNamedObject(Handle object) {
    if (object != nullptr) CloseHandle(ToWin32(object));
}

}  // namespace platform
