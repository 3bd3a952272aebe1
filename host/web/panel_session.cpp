#include "web/panel_session.h"

#include <chrono>
#include <filesystem>

#include "sim/variable_catalogue.h"

namespace web {

std::string PanelSession::Open(const PanelSettings& settings) {
    settings_ = settings;
    if (std::string error = render::ReadPanelLayout(settings_.layoutPath, layout_); !error.empty()) return error;
    RunSetup setup;
    setup.simRoot = settings_.simRoot;
    setup.modulePath = settings_.modulePath;
    setup.table = settings_.table;
    setup.objects = settings_.objects;
    setup.claimant = "avrion-panel";
    setup.frameRate = settings_.frameRate;
    setup.variables = settings_.variables;
    setup.slots = settings_.slots;
    setup.powerTheBus = true;
    const auto watch = settings_.reloadOnChange ? std::optional(settings_.reloadQuiet) : std::nullopt;
    if (std::string error = module_.Open(setup, watch); !error.empty()) return error;
    tiles_ = std::make_unique<WindowTiles>(layout_, settings_.bitmapFolder);
    scenarios_ = ScenarioControl(settings_.flightsFolder);
    recording_ = PanelRecording(settings_.recordFolder,
                                [this] { return ReadShownGauges(layout_, *tiles_, module_.run()); });
    return LoadModule();
}

std::string PanelSession::LoadModule() {
    tiles_->Forget();
    module_.run().ResetSimulator();
    if (std::string error = LoadModuleFile(); !error.empty()) return error;
    for (std::uint32_t ident : render::InitiallyVisibleIdents(layout_)) simulator().ShowWindow(ident, true);
    return std::string();
}

std::string PanelSession::LoadModuleFile() {
    pointer_.Drop();
    if (scenarios_.playing()) scenarios_.Stop();
    scenarios_.Drop();
    tiles_->Forget();
    const std::string error = module_.Load();
    tiles_->Place(host(), std::filesystem::path(settings_.modulePath).stem().string());
    return error;
}

void PanelSession::UnloadModule() {
    pointer_.Drop();
    scenarios_.Drop();
    if (tiles_) tiles_->Forget();
    module_.Unload();
}

void PanelSession::Close() {
    if (recording_.active() && moduleLoaded()) {
        recording_.CloseSection();
        recording_.End();
    }
    UnloadModule();
    module_.Close();
}

// At a frame boundary, as the simulator would between flights: the module shut down and the new one loaded into
// the same simulator, so variables, slots and windows stay as they are. A recording closes its section with the
// old module's readings and goes on in a new one.
void PanelSession::ReloadRebuiltModule() {
    const auto start = std::chrono::steady_clock::now();
    const bool recording = recording_.active();
    if (recording) recording_.CloseSection();
    // A stop asked for and not yet taken ends the recording here.
    const bool goOn = recording && !recording_.stopDue();
    if (scenarios_.playing()) scenarios_.Stop("stopped: the module was reloaded");
    const std::string error = LoadModuleFile();
    if (goOn && error.empty())
        recording_.BeginSection(module_.run());
    else if (recording)
        recording_.End(goOn ? "the recording ended: the rebuilt module did not load" : "");
    tiles_->DrawShown(simulator());
    module_.NoteReload(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
}

void PanelSession::Step() {
    if (module_.Rebuilt()) ReloadRebuiltModule();
    if (paused_ || !moduleLoaded()) return;
    RunFrame();
}

void PanelSession::RunFrame() {
    pointer_.BeforeFrame();
    if (scenarios_.playing())
        scenarios_.Step();
    else
        host().RunFrame();
    ++frames_;
    recording_.AfterFrame();
    tiles_->DrawShown(simulator());
}

std::string PanelSession::GaugePng(const std::string& name) {
    const GAUGEHDR* gauge = host().FindGauge(name);
    return gauge == nullptr ? std::string() : tiles_->GaugePng(*gauge);
}

MouseResult PanelSession::Mouse(std::uint32_t ident, double x, double y, MouseAction action) {
    mouseThread_ = std::this_thread::get_id();
    const MouseResult result = pointer_.Mouse(layout_, *tiles_, simulator(), ident, x, y, action);
    if (result.letGo)
        recording_.LetGo(action == MouseAction::kLeave);
    else if (result.error.empty() && (action == MouseAction::kPress || action == MouseAction::kRight))
        recording_.Pressed(result.gauge, result.x, result.y, result.area, action == MouseAction::kRight);
    return result;
}

void PanelSession::SetVariable(const VariableSetting& setting) {
    Apply(setting, simulator());
    if (!recording_.active()) return;
    const variables::Variable* variable = variables::FindToken(setting.token);
    if (variable == nullptr)
        recording_.NoteOnce("Variables set by token number only are not part of it");
    else
        recording_.VariableSet(*variable, variables::RawValue(simulator(), *variable));
}

bool PanelSession::SetSlot(int slot, double value) {
    if (!siblings().SetSlot(slot, value)) return false;
    recording_.SlotSet(slot, value);
    return true;
}

void PanelSession::ShowWindow(std::uint32_t ident, bool shown) {
    simulator().ShowWindow(ident, shown);
    // The module does not see which windows are open, and a scenario cannot open one.
    recording_.NoteOnce("Panel windows opened and closed from the page are not part of it");
}

std::string PanelSession::StartScenario(const std::string& fileName) {
    if (recording_.active()) return "a recording is under way; stop it before starting a scenario";
    if (std::string error = scenarios_.Read(fileName, host().gauges()); !error.empty()) return error;
    UnloadModule();
    if (std::string error = LoadModule(); !error.empty()) return error;
    if (std::string error = scenarios_.Start(module_.run()); !error.empty()) return error;
    paused_ = false;
    return std::string();
}

std::string PanelSession::RestartScenario() {
    if (scenarios_.lastFile().empty()) return "no scenario has been started";
    return StartScenario(scenarios_.lastFile());
}

std::string PanelSession::StartRecording() {
    if (recording_.active()) return "a recording is under way";
    if (scenarios_.playing()) return "a scenario is playing; stop it before recording";
    if (!moduleLoaded()) return "no module is loaded: " + module_.status().error;
    // The replay starts from a freshly loaded module: so does the recording.
    if (std::string error = LoadModuleFile(); !error.empty()) return error;
    recording_.Start(module_.run());
    tiles_->DrawShown(simulator());
    return std::string();
}

std::string PanelSession::MarkRecording() {
    if (!recording_.active()) return "nothing is being recorded";
    recording_.Mark();
    TakeDueReadingsWhilePaused();
    return std::string();
}

std::string PanelSession::StopRecording() {
    if (!recording_.active()) return "nothing is being recorded";
    recording_.Stop();
    TakeDueReadingsWhilePaused();
    return std::string();
}

// Paused, the clock brings no frame boundary: a mark or the stop is taken now,
// after one frame if something was done since the last.
void PanelSession::TakeDueReadingsWhilePaused() {
    if (!paused_) return;
    if (recording_.inputSinceFrame() && moduleLoaded())
        RunFrame();
    else
        recording_.TakeDue();
}

}  // namespace web
