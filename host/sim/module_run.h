// One run of the module on the bench: the table of named objects, where the
// module's sound goes, the simulator stand-in, the sibling modules and the
// loaded module, with the simulator's root as the working folder. Every
// program, the live panel, the benchmarks and the tests make their runs
// through it; its destructor shuts the module down and undoes the rest, on
// every path, the working folder and AVRION_SIM_ROOT included.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "loader/module_host.h"
#include "sim/run_resources.h"
#include "sim/sibling_modules.h"
#include "sim/simulator.h"
#include "sim/variable_settings.h"

class SoundCapture;

struct RunSetup {
    std::string simRoot;     // absolute: it becomes the working folder
    std::string modulePath;  // absolute

    // The table of named objects: of the run's own (a fresh folder, gone with
    // the run) unless a folder to share is named, or claimed for an
    // interactive program (claimant set: that folder, or else the default).
    enum class Table { kForRun, kClaimed, kAsItIs };
    Table table = Table::kForRun;
    std::string objects;
    std::string claimant;  // the program claiming the table, named to a second one

    // Where the module's sound goes: left to OpenAL's configuration, into a
    // device that keeps nothing (no sound card asked for), or recorded to a
    // WAV file in simulator time.
    enum class Sound { kAsConfigured, kSilent, kRecorded };
    Sound sound = Sound::kAsConfigured;
    std::string soundFile;

    double frameRate = Simulator::kDefaultFrameRate;
    std::vector<VariableSetting> variables;
    std::vector<SlotSetting> slots;
    bool powerTheBus = false;  // slot 109 set to 1 unless the slots give it
};

class ModuleRun {
public:
    // Null, with the reason in error, when the table or the simulator root
    // cannot be had. What only makes the run poorer (no sound recorded, a slot
    // that could not be set) goes to warnings.
    static std::unique_ptr<ModuleRun> Open(const RunSetup& setup, std::string& error,
                                           std::vector<std::string>* warnings = nullptr);
    ~ModuleRun();
    ModuleRun(const ModuleRun&) = delete;
    ModuleRun& operator=(const ModuleRun&) = delete;

    // The module of the setup, or another file (a private copy), loaded into
    // the simulator as it is; a module loaded before is shut down first.
    // Empty on success, else why not.
    std::string Load();
    std::string Load(const std::string& modulePath);
    void Unload();
    // A fresh simulator with the setup's frame rate and variables, as at the
    // start of a run; the module is shut down first.
    void ResetSimulator();

    Simulator& simulator() { return *simulator_; }
    SiblingModules& siblings() { return *siblings_; }
    ModuleHost& host() { return *host_; }
    // The recording, when the setup asked for one and it could be made.
    SoundCapture* sound();
    // Shuts the module down and closes the recording, so that its file is whole.
    void CloseSound();
    const RunSetup& setup() const { return setup_; }

private:
    explicit ModuleRun(RunSetup setup);

    RunSetup setup_;
    std::string previousFolder_;
    std::string previousSimRoot_;
    bool hadSimRoot_ = false;
    RunResourcesPtr resources_;  // the table and the sound, where the system has them
    std::unique_ptr<Simulator> simulator_;
    std::unique_ptr<SiblingModules> siblings_;
    std::unique_ptr<ModuleHost> host_;
};
