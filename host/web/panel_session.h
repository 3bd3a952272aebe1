// The live panel's side of the simulator: the module runtime, the panel
// layout with the latest pictures of its windows, the page's pointer, the
// scenario being played and the one being recorded, over one clock of frames.
// Not locked itself: every call comes from the server's panel thread.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "render/panel_layout.h"
#include "sim/module_run.h"
#include "sim/variable_settings.h"
#include "web/panel_module.h"
#include "web/panel_pointer.h"
#include "web/panel_recording.h"
#include "web/scenario_control.h"
#include "web/window_tiles.h"

namespace web {

class SoundTap;

struct PanelSettings {
    std::string modulePath;  // all absolute: the simulator root becomes the working folder
    std::string simRoot;
    std::string bitmapFolder;
    std::string layoutPath;
    std::string flightsFolder;  // the scenarios the page may start
    double frameRate = Simulator::kDefaultFrameRate;
    std::vector<SlotSetting> slots;  // the bus is powered unless given here
    std::vector<VariableSetting> variables;
    bool reloadOnChange = true;                  // load the module file again, at a frame boundary, once it is rebuilt
    std::chrono::milliseconds reloadQuiet{300};  // how long a rebuilt file must be left alone first
    std::string recordFolder;  // where recorded scenarios are written too; empty: offered for download only
    // The table of named objects: claimed by avrion-panel, as it is for tests.
    RunSetup::Table table = RunSetup::Table::kAsItIs;
    std::string objects;
    // Where the module's sound goes: "host", "browser" (through the tap) or "off".
    std::string soundOutput = "host";
    SoundTap* soundTap = nullptr;
};

class PanelSession {
public:
    PanelSession() = default;
    ~PanelSession() { Close(); }
    PanelSession(const PanelSession&) = delete;
    PanelSession& operator=(const PanelSession&) = delete;

    // Reads the layout, loads the module and shows the windows that start
    // shown. Empty on success, otherwise what went wrong.
    std::string Open(const PanelSettings& settings);
    // ModuleDeinit and the library released (its sounds with it); a recording under way is kept.
    void Close();

    // One frame of the panel clock: the scenario's step or a plain frame, the
    // repeat event of a held button, the recording's marks, and new pictures
    // of the shown windows; before it, the module is loaded again if it was
    // rebuilt. No frame while paused or while no module is loaded.
    void Step();
    bool paused() const { return paused_; }
    void SetPaused(bool paused) { paused_ = paused; }
    std::uint64_t frames() const { return frames_; }
    double frameRate() { return simulator().frameRate; }
    bool moduleLoaded() const { return module_.loaded(); }
    const ModuleStatus& moduleStatus() const { return module_.status(); }
    const std::string& soundOutput() const { return settings_.soundOutput; }
    SoundTap* soundTap() const { return settings_.soundTap; }

    const render::PanelLayout& layout() const { return layout_; }
    const render::PanelWindow* FindWindow(std::uint32_t ident) const { return layout_.FindByIdent(ident); }
    WindowTiles& tiles() { return *tiles_; }
    // Drawing and encoding, over every frame so far.
    double meanPictureMilliseconds() const { return frames_ ? tiles_->totalMilliseconds() / frames_ : 0.0; }
    // One gauge alone, as PNG bytes; empty when the module has no such gauge.
    std::string GaugePng(const std::string& name);

    // A mouse event at a point of a shown window (window pixels).
    MouseResult Mouse(std::uint32_t ident, double x, double y, MouseAction action);
    // The thread the module's mouse handlers last ran on: the module expects its panel thread's.
    std::thread::id mouseThread() const { return mouseThread_; }
    // A variable, a slot and a window set as the page sets them (the first two kept by a recording).
    void SetVariable(const VariableSetting& setting);
    bool SetSlot(int slot, double value);
    void ShowWindow(std::uint32_t ident, bool shown);

    // Recording what is done into a scenario. Starting loads the module
    // afresh, as a replay will, keeping the variables, slots and windows; a
    // mark and the stop take the shown gauges' readings at the next frame
    // boundary (at once while paused, after one frame if something was done
    // since the last). Each empty on success, else why not.
    std::string StartRecording();
    std::string MarkRecording();
    std::string StopRecording();
    RecordingStatus recordingStatus() { return recording_.status(frameRate()); }
    const std::deque<RecordedScenario>& recordings() const { return recording_.files(); }
    const RecordedScenario* FindRecording(const std::string& name) const { return recording_.Find(name); }

    // Each empty on success, else the fault. Starting (or restarting) loads
    // the module afresh, so that the flight begins as the batch runner's does.
    std::string StartScenario(const std::string& fileName);
    std::string RestartScenario();
    void StopScenario() { scenarios_.Stop(); }
    ScenarioStatus scenarioStatus() const { return scenarios_.status(paused_); }
    std::vector<std::string> ScenarioFiles() const { return scenarios_.Files(); }

    Simulator& simulator() { return module_.run().simulator(); }
    SiblingModules& siblings() { return module_.run().siblings(); }
    ModuleHost& host() { return module_.run().host(); }

private:
    // A fresh simulator, the module loaded into it and the first windows shown.
    std::string LoadModule();
    // The module loaded again into the running simulator.
    std::string LoadModuleFile();
    void UnloadModule();
    void ReloadRebuiltModule();
    void RunFrame();
    void TakeDueReadingsWhilePaused();

    PanelSettings settings_;
    render::PanelLayout layout_;
    PanelModule module_;
    std::unique_ptr<WindowTiles> tiles_;
    PanelPointer pointer_;
    ScenarioControl scenarios_{""};
    PanelRecording recording_{"", nullptr};
    std::uint64_t frames_ = 0;
    bool paused_ = false;
    std::atomic<std::thread::id> mouseThread_{};
};

}  // namespace web
