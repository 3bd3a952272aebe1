// Named kernel objects with the lifetime rules of Windows: a named object
// exists while any holder, in any process, keeps a handle to it open, and is
// created afresh (events in their initial state, mappings zeroed) when none
// does. A holder that dies without closing leaves no reference behind.
#pragma once

#include <cstddef>

namespace platform {

struct KernelObject;
using Handle = KernelObject*;  // null when an open or create failed

// Opens an existing named event; null when no holder keeps one of that name.
Handle OpenNamedEvent(const char* name);
// Opens the named event, creating it when none exists.
Handle CreateNamedEvent(const char* name, bool manualReset, bool initiallySignalled);
// Tests the event without waiting. False when not signalled or on failure.
// Auto-reset events are reset by a successful test, as a wait would.
bool TestEvent(Handle event);
bool ResetNamedEvent(Handle event);
bool SetNamedEvent(Handle event);

// Opens an existing named shared-memory block; null when none exists.
Handle OpenNamedMapping(const char* name);
// Opens the named block, creating it with the given size when none exists.
// A newly created block is filled with zero.
Handle CreateNamedMapping(const char* name, std::size_t bytes);
// Maps a read-write view of the whole block; null on failure.
void* MapView(Handle mapping, std::size_t bytes);
void UnmapView(void* view, std::size_t bytes);

// Closes an event or mapping handle; a null handle is ignored.
void CloseNamedObject(Handle object);

}  // namespace platform
