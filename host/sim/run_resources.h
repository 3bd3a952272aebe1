// What a run needs of the system beside the module: on Linux the table of
// named objects, the module's sound device and AVRION_SIM_ROOT; on Windows,
// whose kernel keeps the named objects and plays the sound, nothing.
// One back end per system (run_resources_posix.cpp, run_resources_win32.cpp).
#pragma once

#include <memory>
#include <string>
#include <vector>

struct RunSetup;
class SoundCapture;

struct RunResources;
// Undoes what the run changed of the process (AVRION_SIM_ROOT) and releases the rest.
struct CloseRunResources {
    void operator()(RunResources* resources) const;
};
using RunResourcesPtr = std::unique_ptr<RunResources, CloseRunResources>;

// Null, with the reason in error, when the table cannot be had; a sound that
// cannot be had is a warning.
RunResourcesPtr OpenRunResources(const RunSetup& setup, std::string& error, std::vector<std::string>& warnings);
SoundCapture* SoundOf(RunResources& resources);
void CloseSound(RunResources& resources);

// The message boxes the module has shown, "[caption] text", as the host saw
// them; on Windows the module shows them itself, out of the host's sight.
std::vector<std::string> ModuleMessageBoxes();
void ClearModuleMessageBoxes();
