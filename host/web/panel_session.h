// The live panel's side of the simulator: the loaded module with its simulator
// stand-in and sibling modules, the panel layout, the renderer and the latest
// picture of every window, the mouse button held on a gauge, and the scenario
// being played. Not locked itself: the server takes one lock around every
// call (frames and requests alike).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "loader/module_host.h"
#include "render/bitmap_store.h"
#include "render/gauge_renderer.h"
#include "render/panel_layout.h"
#include "render/window_drawing.h"
#include "scenario/scenario.h"
#include "scenario/scenario_player.h"
#include "sim/sibling_modules.h"
#include "sim/simulator.h"
#include "sim/variable_settings.h"

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
    static constexpr int kBusPowerSlot = 109;

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
    // repeat event of a held button, and new pictures of the shown windows.
    // Nothing while paused.
    void Step();
    bool paused = false;
    std::uint64_t frames() const { return frames_; }
    double frameRate() const { return simulator_->frameRate; }
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

    Simulator& simulator() { return *simulator_; }
    SiblingModules& siblings() { return siblings_; }
    ModuleHost& host() { return *host_; }

private:
    struct HeldButton {
        const GAUGEHDR* gauge;
        int x, y;  // gauge pixels
        int area;
    };

    std::string LoadModule();
    void UnloadModule();
    void DrawShownWindows();
    void Redraw(const render::PanelWindow& window);
    void UpdateTiles(WindowPicture& picture, cairo_surface_t* surface);

    PanelSettings settings_;
    render::PanelLayout layout_;
    SiblingModules siblings_;
    std::unique_ptr<Simulator> simulator_ = std::make_unique<Simulator>();
    std::unique_ptr<ModuleHost> host_;
    std::unique_ptr<render::BitmapStore> bitmaps_;
    std::unique_ptr<render::GaugeRenderer> renderer_;
    std::unique_ptr<render::GaugeDirectory> directory_;
    std::vector<WindowPicture> pictures_;  // by place in the layout
    std::optional<HeldButton> held_;
    std::uint64_t frames_ = 0;
    double drawMilliseconds_ = 0.0;
    double encodeMilliseconds_ = 0.0;
    double totalPictureMilliseconds_ = 0.0;

    std::unique_ptr<scenario::Scenario> scenario_;
    std::unique_ptr<scenario::ScenarioPlayer> player_;
    scenario::RunOptions runOptions_;
    ScenarioStatus scenarioStatus_;
};

}  // namespace web
