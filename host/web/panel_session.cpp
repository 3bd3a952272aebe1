#include "web/panel_session.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <set>

#include "scenario/scenario_checks.h"
#include "scenario/scenario_yaml.h"
#include "sim/gauge_access.h"
#include "sim/host_desktop.h"
#include "sim/variable_catalogue.h"
#include "web/png_stream.h"
#include "web/window_signature.h"

namespace web {
namespace {

// A scenario file named by the page: a plain name in the flights folder,
// never a path that could leave it.
bool IsPlainYamlName(const std::string& name) {
    if (name.empty() || name.size() > 200 || name.front() == '.') return false;
    for (const char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.')) return false;
    return name.ends_with(".yaml") || name.ends_with(".yml");
}

std::string LocalTime(const char* format) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    std::strftime(text, sizeof text, format, &local);
    return text;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

std::string Replaced(std::string text, const std::string& what, const std::string& with) {
    for (std::size_t at = text.find(what); !what.empty() && at != std::string::npos;
         at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}

// Written whole or not at all: through a temporary file and a rename.
std::string WriteWhole(const std::filesystem::path& path, const std::string& text) {
    const std::filesystem::path temporary = path.string() + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out) return "could not write " + temporary.string();
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) return "could not write " + path.string() + ": " + error.message();
    return std::string();
}

constexpr std::size_t kRecordingsKept = 20;

}  // namespace

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
    std::string error;
    std::vector<std::string> faults;
    run_ = ModuleRun::Open(setup, error, &faults);
    if (!run_) return error;
    if (!run_->siblings().valid()) return "cannot hold the shared slot block open";
    if (!faults.empty()) return faults.front();
    bitmaps_ = std::make_unique<render::BitmapStore>(settings_.bitmapFolder);
    renderer_ = std::make_unique<render::GaugeRenderer>(*bitmaps_);
    if (settings_.reloadOnChange)
        watcher_ = std::make_unique<ModuleWatcher>(settings_.modulePath, settings_.reloadQuiet);
    moduleStatus_.watching = watcher_ != nullptr;
    return LoadModule();
}

std::string PanelSession::LoadModule() {
    directory_.reset();
    run_->ResetSimulator();
    if (std::string error = LoadModuleFile(); !error.empty()) return error;
    for (std::uint32_t ident : render::InitiallyVisibleIdents(layout_)) simulator().ShowWindow(ident, true);
    return std::string();
}

std::string PanelSession::LoadModuleFile() {
    pointer_.Drop();
    if (player_ && !player_->Done()) StopScenario();
    player_.reset();
    directory_.reset();
    run_->Unload();  // the module before is shut down first
    HostDesktop::Instance().ClearMessages();
    // A private copy, in a folder of its own that is gone again once it is loaded: a build that rewrites the file
    // in place cannot change the running module under it, and a new name makes the dynamic loader read the file
    // anew even if an earlier copy were still mapped.
    std::string error;
    std::string folder = (std::filesystem::temp_directory_path() / "avrion-panel-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        error = run_->Load();
    } else {
        const std::filesystem::path copy =
            std::filesystem::path(folder) / std::filesystem::path(settings_.modulePath).filename();
        std::error_code fault;
        struct stat before = {};
        struct stat after = {};
        if (::stat(settings_.modulePath.c_str(), &before) != 0) {
            error = "cannot read the module " + settings_.modulePath + ": " + std::strerror(errno);
        } else if (std::filesystem::copy_file(settings_.modulePath, copy, fault); fault) {
            error = "cannot copy the module " + settings_.modulePath + ": " + fault.message();
        } else if (::stat(settings_.modulePath.c_str(), &after) != 0 || !SameFile(before, after)) {
            error = "the module file " + settings_.modulePath +
                    " changed while it was read; it is loaded once it is left alone";
        } else {
            error = Replaced(run_->Load(copy.string()), copy.string(), settings_.modulePath);
        }
        std::filesystem::remove_all(folder, fault);
    }
    // Made whether or not the module loaded, so that the page can still be answered: a module that did not load
    // has no gauges, and its windows show placeholders.
    directory_ = std::make_unique<render::GaugeDirectory>(
        host().gauges(), std::filesystem::path(settings_.modulePath).stem().string());
    renderer_->Reset();
    render::PlaceGauges(layout_, *directory_, *renderer_, host());
    // Pictures keep their versions, which only ever grow, so the page never takes a new tile for one it has.
    if (pictures_.size() != layout_.windows.size()) pictures_.assign(layout_.windows.size(), {});
    for (WindowPicture& picture : pictures_) picture.signature.clear();
    NoteLoad(error);
    return error;
}

void PanelSession::NoteLoad(const std::string& error) {
    ++moduleStatus_.loads;
    moduleStatus_.loaded = error.empty();
    moduleStatus_.error = error;
    moduleStatus_.loadedAt = LocalTime("%H:%M:%S");
}

void PanelSession::UnloadModule() {
    pointer_.Drop();
    if (player_) player_->Finish();
    player_.reset();
    directory_.reset();
    if (run_) run_->Unload();
}

void PanelSession::Close() {
    // A recording under way is kept, with the readings of now.
    if (recorder_ && moduleLoaded()) {
        recorder_->Expect(recordStep_, ShownGaugeReadings(), ModuleSlotReadings());
        EndSection();
        recorder_.reset();
        recording_.state = RecordingStatus::State::kOff;
    }
    UnloadModule();
    watcher_.reset();
    run_.reset();
}

// At a frame boundary, as the simulator would between flights: the module shut down and the new one loaded into
// the same simulator, so variables, slots and windows stay as they are. A recording closes its section with the
// old module's readings and goes on in a new one.
void PanelSession::ReloadRebuiltModule() {
    const auto start = std::chrono::steady_clock::now();
    const bool recording = recorder_ != nullptr;
    if (recording) {
        recorder_->Expect(recordStep_, ShownGaugeReadings(), ModuleSlotReadings());
        EndSection();
    }
    // A stop asked for and not yet taken ends the recording here.
    const bool goOn = recording && !stopDue_;
    if (player_ && !player_->Done()) {
        StopScenario();
        scenarioStatus_.failures.push_back("stopped: the module was reloaded");
    }
    const std::string error = LoadModuleFile();
    if (goOn && error.empty()) {
        BeginSection();
    } else if (recording) {
        recorder_.reset();
        stopDue_ = false;
        recording_.state = RecordingStatus::State::kOff;
        if (goOn) recording_.note = "the recording ended: the rebuilt module did not load";
    }
    renderer_->BeginFrame();
    DrawShownWindows();
    moduleStatus_.reloadMilliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void PanelSession::Step() {
    if (watcher_ && watcher_->Rebuilt(ModuleWatcher::Clock::now())) ReloadRebuiltModule();
    if (paused || !moduleLoaded()) return;
    RunFrame();
}

void PanelSession::RunFrame() {
    pointer_.BeforeFrame();
    if (player_ && !player_->Done()) {
        // Step 0 applies the script's first inputs without a frame.
        if (player_->NextStep() == 0) player_->Step();
        player_->Step();
        scenarioStatus_.time = player_->NextTime();
        if (player_->Done()) {
            const scenario::RunResult result = player_->Finish();
            scenarioStatus_.state = ScenarioState::kFinished;
            scenarioStatus_.passed = result.passed();
            scenarioStatus_.failures = result.failures();
        }
    } else {
        host().RunFrame();
    }
    ++frames_;
    if (recorder_) {
        ++recordStep_;
        doneSinceFrame_ = false;
        TakeDueReadings();
    }
    renderer_->BeginFrame();
    DrawShownWindows();
}

void PanelSession::DrawShownWindows() {
    drawMilliseconds_ = encodeMilliseconds_ = 0.0;
    for (const render::PanelWindow* window : render::ShownWindows(layout_, simulator())) Redraw(*window);
    totalPictureMilliseconds_ += drawMilliseconds_ + encodeMilliseconds_;
}

void PanelSession::Redraw(const render::PanelWindow& window) {
    using Clock = std::chrono::steady_clock;
    const auto index = static_cast<std::size_t>(&window - layout_.windows.data());
    const auto start = Clock::now();
    WindowPicture& picture = pictures_[index];
    std::string signature = WindowSignature(window, *directory_, *renderer_);
    // Most frames change nothing a window shows: then it is not drawn at all.
    if (!picture.tiles.empty() && signature == picture.signature) {
        drawMilliseconds_ += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        return;
    }
    picture.signature = std::move(signature);
    render::Surface surface = render::DrawWindow(window, *directory_, *renderer_);
    const auto drawn = Clock::now();
    UpdateTiles(picture, surface.get());
    drawMilliseconds_ += std::chrono::duration<double, std::milli>(drawn - start).count();
    encodeMilliseconds_ += std::chrono::duration<double, std::milli>(Clock::now() - drawn).count();
}

// Most frames change a few tiles of a window or none.
void PanelSession::UpdateTiles(WindowPicture& picture, cairo_surface_t* surface) {
    const unsigned char* data = cairo_image_surface_get_data(surface);
    if (data == nullptr) return;
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const bool sameSize = picture.width == width && picture.height == height && picture.stride == stride;
    if (!sameSize) {
        picture.width = width;
        picture.height = height;
        picture.stride = stride;
        picture.columns = (width + WindowPicture::kTileSide - 1) / WindowPicture::kTileSide;
        picture.rows = (height + WindowPicture::kTileSide - 1) / WindowPicture::kTileSide;
        picture.tiles.assign(static_cast<std::size_t>(picture.columns * picture.rows), {});
        picture.pixels.assign(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height), 0);
    }
    for (int row = 0; row < picture.rows; ++row)
        for (int column = 0; column < picture.columns; ++column) {
            WindowPicture::Tile& tile = picture.tiles[static_cast<std::size_t>(row * picture.columns + column)];
            const int x = column * WindowPicture::kTileSide, y = row * WindowPicture::kTileSide;
            const int tileWidth = std::min(WindowPicture::kTileSide, width - x);
            const int tileHeight = std::min(WindowPicture::kTileSide, height - y);
            const std::size_t offset = static_cast<std::size_t>(y) * static_cast<std::size_t>(stride) +
                                       static_cast<std::size_t>(x) * 4;
            const std::size_t rowBytes = static_cast<std::size_t>(tileWidth) * 4;
            bool changed = !tile.png;
            for (int line = 0; line < tileHeight && !changed; ++line) {
                const std::size_t at = offset + static_cast<std::size_t>(line) * static_cast<std::size_t>(stride);
                changed = std::memcmp(picture.pixels.data() + at, data + at, rowBytes) != 0;
            }
            if (!changed) continue;
            for (int line = 0; line < tileHeight; ++line) {
                const std::size_t at = offset + static_cast<std::size_t>(line) * static_cast<std::size_t>(stride);
                std::memcpy(picture.pixels.data() + at, data + at, rowBytes);
            }
            // A view of the tile inside the window's pixels, encoded without copying.
            render::Surface view(cairo_image_surface_create_for_data(picture.pixels.data() + offset, CAIRO_FORMAT_ARGB32,
                                                                     tileWidth, tileHeight, stride));
            tile.png = std::make_shared<const std::string>(EncodePng(view.get()));
            tile.version = ++picture.version;
        }
}

render::Size PanelSession::WindowSize(const render::PanelWindow& window) {
    return render::WindowSize(window, *directory_, *renderer_);
}

std::vector<render::GaugeBox> PanelSession::GaugeBoxes(const render::PanelWindow& window) {
    return render::GaugeBoxes(window, *directory_, *renderer_);
}

const WindowPicture& PanelSession::Picture(const render::PanelWindow& window) {
    const auto index = static_cast<std::size_t>(&window - layout_.windows.data());
    if (pictures_[index].tiles.empty()) Redraw(window);
    return pictures_[index];
}

std::string PanelSession::WindowPng(const render::PanelWindow& window) {
    render::Surface surface = render::DrawWindow(window, *directory_, *renderer_);
    return EncodePng(surface.get());
}

std::string PanelSession::GaugePng(const std::string& name) {
    const GAUGEHDR* gauge = run_ ? host().FindGauge(name) : nullptr;
    if (gauge == nullptr) return std::string();
    render::Surface surface = renderer_->DrawGauge(gauge);
    return EncodePng(surface.get());
}

MouseResult PanelSession::Mouse(std::uint32_t ident, double x, double y, MouseAction action) {
    MouseResult result;
    // Release and leave go where the button went down, as the simulator keeps the held area.
    if ((action == MouseAction::kRelease || action == MouseAction::kLeave) && pointer_.held()) {
        const GAUGEHDR* gauge = pointer_.held()->gauge;
        result.gauge = gauge->name != nullptr ? gauge->name : "";
        result.area = heldArea_;
        result.delivered = action == MouseAction::kLeave ? pointer_.Leave() : pointer_.Release();
        if (recorder_) {
            recorder_->Release(InputStep());
            doneSinceFrame_ = true;
            // The module takes the pointer leaving a held area as letting go; scenarios only know letting go.
            if (action == MouseAction::kLeave)
                NoteOnce("A button let go by the pointer leaving its area is released there in the replay");
        }
        return result;
    }
    if (action == MouseAction::kLeave) return result;  // nothing held: the pointer only passed by
    const render::PanelWindow* window = FindWindow(ident);
    if (window == nullptr) {
        result.error = "no window " + std::to_string(ident) + " in the layout";
        return result;
    }
    if (!simulator().IsWindowShown(ident)) {
        result.error = "window " + std::to_string(ident) + " is not shown";
        return result;
    }
    const auto boxes = GaugeBoxes(*window);
    for (auto box = boxes.rbegin(); box != boxes.rend(); ++box) {
        if (x < box->x || y < box->y || x >= box->x + box->width || y >= box->y + box->height) continue;
        const int gaugeX = static_cast<int>((x - box->x) / box->scaleX);
        const int gaugeY = static_cast<int>((y - box->y) / box->scaleY);
        const auto area = gauge_access::AreaAt(box->gauge, gaugeX, gaugeY);
        if (!area) continue;  // a gauge beneath may have an area here
        const auto areas = gauge_access::ChildAreas(box->gauge);
        result.gauge = box->gauge->name != nullptr ? box->gauge->name : "";
        result.area = static_cast<int>(
            std::find_if(areas.begin(), areas.end(), [&](const auto& a) { return a.rect == area->rect; }) -
            areas.begin() + 1);
        const Pointer::Target target{box->gauge, gaugeX, gaugeY};
        result.delivered = action == MouseAction::kPress ? pointer_.Press(target)
                           : action == MouseAction::kRight ? pointer_.Click(target, mouse_flag::kRightSingle)
                                                           : pointer_.Click(target, mouse_flag::kLeftRelease);
        if (action == MouseAction::kPress) heldArea_ = result.area;
        if (recorder_ && (action == MouseAction::kPress || action == MouseAction::kRight)) {
            recorder_->Press(InputStep(), result.gauge, gaugeX, gaugeY, result.area, action == MouseAction::kRight);
            doneSinceFrame_ = true;
        }
        return result;
    }
    char point[64];
    std::snprintf(point, sizeof point, "(%.0f, %.0f)", x, y);
    result.error = "no mouse area at " + std::string(point) + " of window " + std::to_string(ident);
    return result;
}

std::vector<std::string> PanelSession::ScenarioFiles() const {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(settings_.flightsFolder, error)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && IsPlainYamlName(name)) files.push_back(name);
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string PanelSession::StartScenario(const std::string& fileName) {
    if (recorder_) return "a recording is under way; stop it before starting a scenario";
    if (!IsPlainYamlName(fileName)) return "a scenario is named by its file name in the flights folder, not \"" +
                                           fileName + "\"";
    const std::string path = (std::filesystem::path(settings_.flightsFolder) / fileName).string();
    if (!std::filesystem::is_regular_file(path)) return "no scenario " + fileName + " in the flights folder";
    scenario::ParseResult parsed = scenario::LoadScenario(path);
    parsed.scenario.file = fileName;
    if (!parsed.ok()) {
        std::string message = "the scenario was refused:";
        for (scenario::Problem& problem : parsed.problems) {
            problem.where.file = fileName;
            message += "\n" + problem.ToString();
        }
        return message;
    }
    // Checked against the module running now, which is the one loaded again below.
    const auto problems = scenario::CheckAgainstGauges(parsed.scenario, host().gauges());
    if (!problems.empty()) {
        std::string message = "the scenario does not fit the module:";
        for (const scenario::Problem& problem : problems) message += "\n" + problem.ToString();
        return message;
    }
    UnloadModule();
    if (std::string error = LoadModule(); !error.empty()) return error;
    scenario_ = std::make_unique<scenario::Scenario>(std::move(parsed.scenario));
    player_ = std::make_unique<scenario::ScenarioPlayer>(*scenario_, host(), simulator(), siblings(), noOutputs_);
    if (!player_->Start()) {
        const std::string error = player_->progress().error;
        player_.reset();
        return error;
    }
    scenarioStatus_ = ScenarioStatus{ScenarioState::kPlaying, fileName, 0.0, scenario_->duration, 0, {}};
    paused = false;
    return std::string();
}

std::string PanelSession::RestartScenario() {
    if (scenarioStatus_.file.empty()) return "no scenario has been started";
    return StartScenario(scenarioStatus_.file);
}

void PanelSession::StopScenario() {
    if (!player_) return;
    const scenario::RunResult result = player_->Finish();
    player_.reset();
    scenarioStatus_.state = ScenarioState::kStopped;
    scenarioStatus_.passed = result.passed();
    scenarioStatus_.failures = result.failures();
}

ScenarioStatus PanelSession::scenarioStatus() const {
    ScenarioStatus status = scenarioStatus_;
    if (player_ && !player_->Done()) {
        status.state = paused ? ScenarioState::kPaused : ScenarioState::kPlaying;
        status.passed = player_->progress().passed();
        status.failures = player_->progress().failures();
    }
    return status;
}

void PanelSession::SetVariable(const VariableSetting& setting) {
    Apply(setting, simulator());
    if (!recorder_) return;
    const variables::Variable* variable = variables::FindToken(setting.token);
    if (variable == nullptr) {
        NoteOnce("Variables set by token number only are not part of it");
        return;
    }
    recorder_->Variable(InputStep(), *variable, variables::RawValue(simulator(), *variable));
    doneSinceFrame_ = true;
}

bool PanelSession::SetSlot(int slot, double value) {
    if (!siblings().SetSlot(slot, value)) return false;
    if (recorder_) {
        recorder_->Slot(InputStep(), slot, value);
        doneSinceFrame_ = true;
    }
    return true;
}

void PanelSession::ShowWindow(std::uint32_t ident, bool shown) {
    simulator().ShowWindow(ident, shown);
    // The module does not see which windows are open, and a scenario cannot open one.
    if (recorder_) NoteOnce("Panel windows opened and closed from the page are not part of it");
}

void PanelSession::NoteOnce(const std::string& note) {
    if (!recorder_ || std::find(notes_.begin(), notes_.end(), note) != notes_.end()) return;
    notes_.push_back(note);
    recorder_->Note(note);
}

std::string PanelSession::StartRecording() {
    if (recorder_) return "a recording is under way";
    if (player_ && !player_->Done()) return "a scenario is playing; stop it before recording";
    if (!moduleLoaded()) return "no module is loaded: " + moduleStatus_.error;
    // The replay starts from a freshly loaded module: so does the recording.
    if (std::string error = LoadModuleFile(); !error.empty()) return error;
    const std::string stamp = LocalTime("recording-%Y%m%d-%H%M%S");
    const auto taken = [&](const std::string& name) {
        const std::filesystem::path file = std::filesystem::path(settings_.recordFolder) / (name + ".yaml");
        return FindRecording(name + ".yaml") != nullptr ||
               (!settings_.recordFolder.empty() && std::filesystem::exists(file));
    };
    recordingName_ = stamp;
    for (int suffix = 2; taken(recordingName_); ++suffix) recordingName_ = stamp + "-" + std::to_string(suffix);
    recording_ = RecordingStatus{RecordingStatus::State::kRecording, 0, 0.0, 0, 0, ""};
    BeginSection();
    renderer_->BeginFrame();
    DrawShownWindows();
    return std::string();
}

std::string PanelSession::MarkRecording() {
    if (!recorder_) return "nothing is being recorded";
    markDue_ = true;
    TakeDueReadingsWhilePaused();
    return std::string();
}

std::string PanelSession::StopRecording() {
    if (!recorder_) return "nothing is being recorded";
    stopDue_ = true;
    recording_.state = RecordingStatus::State::kStopping;
    TakeDueReadingsWhilePaused();
    return std::string();
}

// Paused, the clock brings no frame boundary: a mark or the stop is taken now,
// after one frame if something was done since the last.
void PanelSession::TakeDueReadingsWhilePaused() {
    if (!paused) return;
    if (doneSinceFrame_ && moduleLoaded())
        RunFrame();
    else
        TakeDueReadings();
}

void PanelSession::BeginSection() {
    recordStep_ = 0;
    doneSinceFrame_ = markDue_ = stopDue_ = false;
    notes_.clear();
    const int section = ++recording_.section;
    const std::string title = "Recorded on the live panel, " + LocalTime("%Y-%m-%d %H:%M:%S") +
                              (section > 1 ? ", section " + std::to_string(section) : "");
    const std::string description = section > 1 ? "Goes on from section " + std::to_string(section - 1) +
                                                      " after the module was rebuilt and loaded again."
                                                : "";
    recorder_ = std::make_unique<ScenarioRecorder>(simulator().frameRate, title, description);
    for (const variables::Variable& variable : variables::All())
        recorder_->StartWith(variable, variables::RawValue(simulator(), variable));
    for (int slot = 0; slot < shared_slot::kCount; ++slot) {
        double value = 0.0;
        if (siblings().ReadSlot(slot, value)) recorder_->StartWithSlot(slot, value);
    }
}

std::vector<GaugeReading> PanelSession::ShownGaugeReadings() {
    std::vector<GaugeReading> readings;
    std::set<std::string> seen;
    for (const render::PanelWindow* window : render::ShownWindows(layout_, simulator()))
        for (const render::GaugeBox& box : GaugeBoxes(*window)) {
            const std::string name = box.gauge->name != nullptr ? box.gauge->name : "";
            // Read from the gauge a replay finds by the name.
            const GAUGEHDR* gauge = name.empty() ? nullptr : host().FindGauge(name);
            if (gauge == nullptr || !seen.insert(name).second) continue;
            const auto elements = gauge_access::Elements(gauge);
            for (std::size_t i = 0; i < elements.size(); ++i) {
                GaugeReading reading{name, static_cast<int>(i + 1), false, 0.0, {}};
                switch (elements[i]->kind) {
                    case kElementNeedle:
                    case kElementIcon:
                        reading.value = gauge_access::ElementValue(elements[i]);
                        break;
                    case kElementString:
                        reading.isText = true;
                        reading.text = gauge_access::ElementText(elements[i]);
                        break;
                    default:
                        continue;
                }
                readings.push_back(std::move(reading));
            }
        }
    return readings;
}

std::map<int, double> PanelSession::ModuleSlotReadings() {
    std::map<int, double> slots;
    for (const int slot : shared_slot::kWrittenByModule) {
        double value = 0.0;
        if (siblings().ReadSlot(slot, value)) slots[slot] = value;
    }
    return slots;
}

void PanelSession::TakeDueReadings() {
    if (!recorder_ || !(markDue_ || stopDue_)) return;
    recorder_->Expect(recordStep_, ShownGaugeReadings(), ModuleSlotReadings());
    if (markDue_) ++recording_.marks;
    markDue_ = false;
    if (stopDue_) {
        EndSection();
        recorder_.reset();
        recording_.state = RecordingStatus::State::kOff;
        stopDue_ = false;
    }
}

void PanelSession::EndSection() {
    RecordedScenario file;
    const int section = recording_.section;
    file.name = recordingName_ + (section > 1 ? "-section" + std::to_string(section) : "") + ".yaml";
    file.text = recorder_->Yaml(recordStep_);
    file.events = recorder_->events();
    file.expectations = recorder_->expectations();
    if (!settings_.recordFolder.empty()) {
        const std::filesystem::path folder(settings_.recordFolder);
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        const std::string fault = WriteWhole(folder / file.name, file.text);
        file.savedTo = fault.empty() ? (folder / file.name).string() : fault;
    }
    recordings_.push_back(std::move(file));
    if (recordings_.size() > kRecordingsKept) recordings_.pop_front();
}

RecordingStatus PanelSession::recordingStatus() const {
    RecordingStatus status = recording_;
    if (recorder_) {
        status.time = static_cast<double>(recordStep_) / run_->simulator().frameRate;
        status.events = recorder_->events();
    }
    return status;
}

const RecordedScenario* PanelSession::FindRecording(const std::string& name) const {
    for (const RecordedScenario& file : recordings_)
        if (file.name == name) return &file;
    return nullptr;
}

}  // namespace web
