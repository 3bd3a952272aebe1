// Where the POSIX back end keeps its named objects: a folder, the objects
// table, named by an environment variable so that every program of a run,
// the module's own copy of the back end included, finds the same one. Runs
// with tables of their own never see each other's objects.
#pragma once

namespace platform {

inline constexpr const char* kKernelObjectsVariable = "AVRION_KERNEL_OBJECTS";

namespace posix {
// For comparison in benchmarks: every view of a mapping is mapped afresh and
// unmapped again, instead of sharing one view per process.
void UseSeparateViews(bool separate);
}  // namespace posix

}  // namespace platform
