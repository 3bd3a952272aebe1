#include "web/panel_session.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <filesystem>

#include "scenario/scenario_checks.h"
#include "sim/gauge_access.h"
#include "sim/host_desktop.h"
#include "web/png_stream.h"
#include "web/window_signature.h"

namespace web {
namespace {

std::uint32_t FlagsOf(MouseAction action) {
    switch (action) {
        case MouseAction::kPress:
            return mouse_flag::kLeftSingle;
        case MouseAction::kRelease:
            return mouse_flag::kLeftRelease;
        case MouseAction::kLeave:
            return mouse_flag::kLeave;
        case MouseAction::kRight:
            return mouse_flag::kRightSingle;
    }
    return 0;
}

// A scenario file named by the page: a plain name in the flights folder,
// never a path that could leave it.
bool IsPlainYamlName(const std::string& name) {
    if (name.empty() || name.size() > 200 || name.front() == '.') return false;
    for (const char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.')) return false;
    return name.ends_with(".yaml") || name.ends_with(".yml");
}

}  // namespace

std::string PanelSession::Open(const PanelSettings& settings) {
    settings_ = settings;
    if (std::string error = render::ReadPanelLayout(settings_.layoutPath, layout_); !error.empty()) return error;
    if (!siblings_.valid()) return "cannot hold the shared slot block open";
    bool busGiven = false;
    for (const SlotSetting& slot : settings_.slots) busGiven = busGiven || slot.slot == kBusPowerSlot;
    if (!busGiven) settings_.slots.insert(settings_.slots.begin(), SlotSetting{kBusPowerSlot, 1.0});
    for (const SlotSetting& slot : settings_.slots)
        if (!siblings_.SetSlot(slot.slot, slot.value)) return "cannot set shared slot " + std::to_string(slot.slot);
    if (std::string error = ModuleHost::SetSimRoot(settings_.simRoot); !error.empty()) return error;
    bitmaps_ = std::make_unique<render::BitmapStore>(settings_.bitmapFolder);
    renderer_ = std::make_unique<render::GaugeRenderer>(*bitmaps_);
    return LoadModule();
}

std::string PanelSession::LoadModule() {
    simulator_ = std::make_unique<Simulator>();
    simulator_->frameRate = settings_.frameRate;
    for (const VariableSetting& variable : settings_.variables) Apply(variable, *simulator_);
    host_ = std::make_unique<ModuleHost>(*simulator_);
    HostDesktop::Instance().ClearMessages();
    const std::string error = host_->Load(settings_.modulePath);
    // Made whether or not the module loaded, so that the page can still be answered: a module that did not load
    // has no gauges, and its windows show placeholders.
    directory_ = std::make_unique<render::GaugeDirectory>(
        host_->gauges(), std::filesystem::path(settings_.modulePath).stem().string());
    renderer_->Reset();
    pictures_.assign(layout_.windows.size(), {});
    held_.reset();
    if (!error.empty()) return error;
    for (std::uint32_t ident : render::InitiallyVisibleIdents(layout_)) simulator_->ShowWindow(ident, true);
    return std::string();
}

void PanelSession::UnloadModule() {
    held_.reset();
    if (player_) player_->Finish();
    player_.reset();
    directory_.reset();
    if (host_) host_->Unload();
    host_.reset();
}

void PanelSession::Close() { UnloadModule(); }

void PanelSession::Step() {
    if (paused || !host_ || !host_->loaded()) return;
    if (held_) gauge_access::DeliverMouse(held_->gauge, held_->x, held_->y, mouse_flag::kLeftRepeat);
    if (player_ && !player_->Done()) {
        // Step 0 applies the script's first inputs without a frame.
        if (player_->NextStep() == 0) player_->Step();
        player_->Step();
        scenarioStatus_.time = player_->NextTime();
        if (player_->Done()) {
            const scenario::RunResult result = player_->Finish();
            scenarioStatus_.state = ScenarioState::kFinished;
            scenarioStatus_.passed = result.passed;
            scenarioStatus_.failures = result.failures;
        }
    } else {
        host_->RunFrame();
    }
    ++frames_;
    renderer_->BeginFrame();
    DrawShownWindows();
}

void PanelSession::DrawShownWindows() {
    drawMilliseconds_ = encodeMilliseconds_ = 0.0;
    for (const render::PanelWindow* window : render::ShownWindows(layout_, *simulator_)) Redraw(*window);
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
    const GAUGEHDR* gauge = host_ ? host_->FindGauge(name) : nullptr;
    if (gauge == nullptr) return std::string();
    render::Surface surface = renderer_->DrawGauge(gauge);
    return EncodePng(surface.get());
}

MouseResult PanelSession::Mouse(std::uint32_t ident, double x, double y, MouseAction action) {
    MouseResult result;
    const std::uint32_t flags = FlagsOf(action);
    // Release and leave go where the button went down, as the simulator keeps the held area.
    if ((action == MouseAction::kRelease || action == MouseAction::kLeave) && held_) {
        const HeldButton held = *held_;
        held_.reset();
        result.gauge = held.gauge->name != nullptr ? held.gauge->name : "";
        result.area = held.area;
        result.delivered = gauge_access::DeliverMouse(held.gauge, held.x, held.y, flags);
        return result;
    }
    if (action == MouseAction::kLeave) return result;  // nothing held: the pointer only passed by
    const render::PanelWindow* window = FindWindow(ident);
    if (window == nullptr) {
        result.error = "no window " + std::to_string(ident) + " in the layout";
        return result;
    }
    if (!simulator_->IsWindowShown(ident)) {
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
        result.delivered = gauge_access::DeliverMouse(box->gauge, gaugeX, gaugeY, flags);
        if (action == MouseAction::kPress) held_ = HeldButton{box->gauge, gaugeX, gaugeY, result.area};
        return result;
    }
    result.error = "no mouse area at (" + std::to_string(static_cast<long long>(x)) + ", " +
                   std::to_string(static_cast<long long>(y)) + ") of window " + std::to_string(ident);
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
    const auto problems = scenario::CheckAgainstGauges(parsed.scenario, host_->gauges());
    if (!problems.empty()) {
        std::string message = "the scenario does not fit the module:";
        for (const scenario::Problem& problem : problems) message += "\n" + problem.ToString();
        return message;
    }
    UnloadModule();
    if (std::string error = LoadModule(); !error.empty()) return error;
    scenario_ = std::make_unique<scenario::Scenario>(std::move(parsed.scenario));
    runOptions_ = scenario::RunOptions{};
    player_ = std::make_unique<scenario::ScenarioPlayer>(*scenario_, *host_, *simulator_, siblings_, runOptions_);
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
    scenarioStatus_.passed = result.passed;
    scenarioStatus_.failures = result.failures;
}

ScenarioStatus PanelSession::scenarioStatus() const {
    ScenarioStatus status = scenarioStatus_;
    if (player_ && !player_->Done()) {
        status.state = paused ? ScenarioState::kPaused : ScenarioState::kPlaying;
        status.passed = player_->progress().passed;
        status.failures = player_->progress().failures;
    }
    return status;
}

}  // namespace web
