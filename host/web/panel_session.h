// The live panel's side of the simulator: the loaded module with its simulator
// stand-in and sibling modules, the panel layout, the renderer and the latest
// picture of every window, the mouse button held on a gauge, the scenario
// being played and the one being recorded, and the watch on the module file
// that loads it again when it is rebuilt. Not locked itself: the server takes
// one lock around every call (frames and requests alike).
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "render/bitmap_store.h"
#include "render/gauge_renderer.h"
#include "render/panel_layout.h"
#include "render/window_drawing.h"
#include "scenario/scenario.h"
#include "scenario/scenario_player.h"
#include "sim/module_run.h"
#include "sim/pointer.h"
#include "sim/variable_settings.h"
#include "web/module_watcher.h"
#include "web/scenario_recorder.h"

namespace web {

class SoundTap;

struct PanelSettings {
    std::string modulePath;  // all absolute: the simulator root becomes the working folder
    std::string simRoot;
    std::string bitmapFolder;
    std::string layoutPath;
    std::string flightsFolder;  // the scenarios the page may start
    double frameRate = Simulator::kDefaultFrameRate;
    std::vector<SlotSetting> slots;  // the bus (slot 109) is powered unless given here
    std::vector<VariableSetting> variables;
    bool reloadOnChange = true;                  // load the module file again, at a frame boundary, once it is rebuilt
    std::chrono::milliseconds reloadQuiet{300};  // how long a rebuilt file must be left alone first
    std::string recordFolder;  // where recorded scenarios are written too; empty: offered for download only
    // The table of named objects: claimed by avrion-panel, as it is for tests.
    RunSetup::Table table = RunSetup::Table::kAsItIs;
    std::string objects;
};

// The module as loaded now, for the page.
struct ModuleStatus {
    int loads = 0;  // every load, whether it worked or not
    bool loaded = false;
    std::string error;                // why the last load failed
    std::string loadedAt;             // the local time of the last load, "10:32:05"
    double reloadMilliseconds = 0.0;  // the last reload: old module shut down to the new one's first pictures
    bool watching = false;
};

// A recorded scenario, one section of a recording (a reload starts the next).
struct RecordedScenario {
    std::string name;  // "recording-20240501-103205.yaml", "...-2.yaml" for the next section
    std::string text;
    std::string savedTo;  // the file written, or why it could not be
    int events = 0;
    int expectations = 0;
};

struct RecordingStatus {
    enum class State { kOff, kRecording, kStopping };
    State state = State::kOff;
    int section = 0;
    double time = 0.0;  // simulator time since the section began
    int events = 0;
    int marks = 0;
    std::string note;  // why the last recording ended unasked, if it did
};

enum class MouseAction { kPress, kRelease, kLeave, kRight };

struct MouseResult {
    std::string error;  // empty when the event was taken
    std::string gauge;
    int area = 0;            // 1 = the gauge's first child area
    bool delivered = false;  // a handler ran
};

// A window's latest picture, cut into square tiles so that a change re-encodes
// and resends only the tiles it touches (a needle, a lamp), not the window.
struct WindowPicture {
    static constexpr int kTileSide = 256;

    struct Tile {
        std::uint64_t version = 0;  // moves on only when the tile's pixels change
        std::shared_ptr<const std::string> png;
    };

    int width = 0, height = 0;
    int columns = 0, rows = 0;
    std::vector<Tile> tiles;  // row by row
    std::vector<unsigned char> pixels;  // the whole window, cairo ARGB32
    int stride = 0;
    std::uint64_t version = 0;  // the newest tile's
    std::string signature;      // of what it was drawn from (see window_signature.h)
};

enum class ScenarioState { kNone, kPlaying, kPaused, kFinished, kStopped };

struct ScenarioStatus {
    ScenarioState state = ScenarioState::kNone;
    std::string file;
    double time = 0.0;
    double duration = 0.0;
    int passed = 0;
    std::vector<std::string> failures;
};

class PanelSession {
public:
    static constexpr int kBusPowerSlot = shared_slot::kBusPower;

    PanelSession() = default;
    ~PanelSession() { Close(); }
    PanelSession(const PanelSession&) = delete;
    PanelSession& operator=(const PanelSession&) = delete;

    // Reads the layout, loads the module and shows the windows that start
    // shown. Empty on success, otherwise what went wrong.
    std::string Open(const PanelSettings& settings);
    // ModuleDeinit and the library released (its sounds with it).
    void Close();

    // One frame of the panel clock: the scenario's step or a plain frame, the
    // repeat event of a held button, the recording's marks, and new pictures
    // of the shown windows; before it, the module is loaded again if it was
    // rebuilt. No frame while paused or while no module is loaded.
    void Step();
    bool moduleLoaded() const { return run_ && run_->host().loaded(); }
    const ModuleStatus& moduleStatus() const { return moduleStatus_; }
    bool paused = false;
    std::uint64_t frames() const { return frames_; }
    double frameRate() const { return run_->simulator().frameRate; }
    // What drawing the shown windows, and comparing and encoding their changed
    // tiles, cost in the last frame.
    double drawMilliseconds() const { return drawMilliseconds_; }
    double encodeMilliseconds() const { return encodeMilliseconds_; }
    // The same over every frame so far.
    double meanPictureMilliseconds() const { return frames_ ? totalPictureMilliseconds_ / frames_ : 0.0; }

    const render::PanelLayout& layout() const { return layout_; }
    const render::PanelWindow* FindWindow(std::uint32_t ident) const { return layout_.FindByIdent(ident); }
    render::Size WindowSize(const render::PanelWindow& window);
    std::vector<render::GaugeBox> GaugeBoxes(const render::PanelWindow& window);
    // The window's latest picture; drawn now if it has none yet.
    const WindowPicture& Picture(const render::PanelWindow& window);
    // The whole window as one PNG, encoded now.
    std::string WindowPng(const render::PanelWindow& window);
    // One gauge alone, as PNG bytes; empty when the module has no such gauge.
    std::string GaugePng(const std::string& name);

    // A mouse event at a point of a shown window (panel pixels), delivered to
    // the topmost gauge there through the host's mouse-area walk. A press
    // holds the button until release or leave: each frame meanwhile the held
    // area gets the repeat event.
    MouseResult Mouse(std::uint32_t ident, double x, double y, MouseAction action);
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
    RecordingStatus recordingStatus() const;
    const std::deque<RecordedScenario>& recordings() const { return recordings_; }
    const RecordedScenario* FindRecording(const std::string& name) const;

    // Each empty on success, else the fault. Starting (or restarting) loads
    // the module afresh, so that the flight begins as the batch runner's does.
    std::string StartScenario(const std::string& fileName);
    std::string RestartScenario();
    void StopScenario();
    ScenarioStatus scenarioStatus() const;
    std::vector<std::string> ScenarioFiles() const;

    // Where the module's sound goes: "host", "browser" (through the tap) or "off".
    std::string soundOutput = "host";
    SoundTap* soundTap = nullptr;

    Simulator& simulator() { return run_->simulator(); }
    SiblingModules& siblings() { return run_->siblings(); }
    ModuleHost& host() { return run_->host(); }

private:
    std::string LoadModule();
    // The module file loaded into the running simulator, through a private copy of it.
    std::string LoadModuleFile();
    void UnloadModule();
    void ReloadRebuiltModule();
    void RunFrame();
    void NoteLoad(const std::string& error);
    void BeginSection();
    void TakeDueReadings();
    void TakeDueReadingsWhilePaused();
    std::vector<GaugeReading> ShownGaugeReadings();
    std::map<int, double> ModuleSlotReadings();
    void EndSection();
    void NoteOnce(const std::string& note);
    long long InputStep() const { return recordStep_ + 1; }
    void DrawShownWindows();
    void Redraw(const render::PanelWindow& window);
    void UpdateTiles(WindowPicture& picture, cairo_surface_t* surface);

    PanelSettings settings_;
    render::PanelLayout layout_;
    std::unique_ptr<ModuleRun> run_;
    std::unique_ptr<render::BitmapStore> bitmaps_;
    std::unique_ptr<render::GaugeRenderer> renderer_;
    std::unique_ptr<render::GaugeDirectory> directory_;
    std::vector<WindowPicture> pictures_;  // by place in the layout
    Pointer pointer_;
    int heldArea_ = 0;
    std::uint64_t frames_ = 0;
    ModuleStatus moduleStatus_;
    std::unique_ptr<ModuleWatcher> watcher_;
    double drawMilliseconds_ = 0.0;
    double encodeMilliseconds_ = 0.0;
    double totalPictureMilliseconds_ = 0.0;

    std::unique_ptr<scenario::Scenario> scenario_;
    std::unique_ptr<scenario::ScenarioPlayer> player_;
    scenario::RunObservers noOutputs_;  // the panel shows a scenario's run; it writes no files
    ScenarioStatus scenarioStatus_;

    std::unique_ptr<ScenarioRecorder> recorder_;
    RecordingStatus recording_;
    std::string recordingName_;    // the first section's file name without ".yaml"
    long long recordStep_ = 0;     // frames since the section began
    bool doneSinceFrame_ = false;  // inputs recorded since the last frame
    bool markDue_ = false, stopDue_ = false;
    std::deque<RecordedScenario> recordings_;
    std::vector<std::string> notes_;  // said once per recording
};

}  // namespace web
