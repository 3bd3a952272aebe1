#include "web/panel_requests.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>

#include "sim/gauge_access.h"
#include "sim/host_desktop.h"
#include "sim/variable_catalogue.h"
#include "web/sound_tap.h"

namespace web {
namespace {

using json = nlohmann::ordered_json;

// Larger numbers lose whole units in a double; no variable of the simulator's goes near.
constexpr double kLargestValue = 9007199254740992.0;  // 2^53
constexpr int kSlotsShown[] = {shared_slot::kSetterPressure, shared_slot::kBreakerWord, shared_slot::kBusPower};

WebResponse Json(const json& body) {
    return {200, "application/json", body.dump(-1, ' ', false, json::error_handler_t::replace)};
}
WebResponse Error(int status, const std::string& message) { return {status, "application/json", JsonError(message)}; }
WebResponse Ok() { return Json({{"ok", true}}); }

// A number as the page reads it: ten significant digits, whole numbers as such, nothing JSON cannot hold.
json Number(double value) {
    if (!std::isfinite(value)) return nullptr;
    if (value == std::trunc(value) && std::fabs(value) < kLargestValue) return static_cast<std::int64_t>(value);
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return std::strtod(text, nullptr);
}

std::optional<std::string> Param(const WebRequest& request, const std::string& name) {
    const auto found = request.params.find(name);
    if (found == request.params.end()) return std::nullopt;
    return found->second;
}

template <typename Value>
std::optional<Value> Parsed(const std::string& text) {
    Value value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

std::optional<double> FiniteNumber(const std::string& text) {
    const auto value = Parsed<double>(text);
    return value && std::isfinite(*value) ? value : std::nullopt;
}

json Slot(PanelSession& session, int slot) {
    double value = 0.0;
    return session.siblings().ReadSlot(slot, value) ? Number(value) : json(nullptr);
}

WebResponse PanelDescription(PanelSession& session) {
    json windows = json::array();
    for (const render::PanelWindow& window : session.layout().windows) {
        const render::Size size = session.tiles().WindowSize(window);
        json gauges = json::array();
        for (const render::GaugeBox& box : session.tiles().GaugeBoxes(window)) {
            json areas = json::array();
            for (const gauge_access::MouseArea& area : gauge_access::ChildAreas(box.gauge))
                areas.push_back({{"x", Number(box.x + area.x * box.scaleX)},
                                 {"y", Number(box.y + area.y * box.scaleY)},
                                 {"width", Number(area.width * box.scaleX)},
                                 {"height", Number(area.height * box.scaleY)},
                                 {"cursor", area.rect->cursor}});
            gauges.push_back({{"name", box.gauge->name ? box.gauge->name : ""},
                              {"x", Number(box.x)},
                              {"y", Number(box.y)},
                              {"width", Number(box.width)},
                              {"height", Number(box.height)},
                              {"areas", areas}});
        }
        windows.push_back({{"ident", window.ident},
                           {"title", window.title},
                           {"width", size.width},
                           {"height", size.height},
                           {"gauges", gauges}});
    }
    return Json({{"windows", windows},
                 {"frameRate", Number(session.frameRate())},
                 {"tileSide", WindowPicture::kTileSide},
                 {"sound", session.soundOutput()}});
}

constexpr const char* kScenarioStates[] = {"none", "playing", "paused", "finished", "stopped"};
constexpr const char* kRecordingStates[] = {"off", "recording", "stopping"};

WebResponse State(PanelSession& session) {
    json windows = json::array();
    for (const render::PanelWindow& window : session.layout().windows) {
        const bool shown = session.simulator().IsWindowShown(window.ident);
        json entry = {{"ident", window.ident}, {"shown", shown}};
        if (shown) {
            const WindowPicture& picture = session.tiles().Picture(window);
            json tiles = json::array();
            for (const WindowPicture::Tile& tile : picture.tiles) tiles.push_back(tile.version);
            entry.update({{"columns", picture.columns}, {"rows", picture.rows}, {"tiles", tiles}});
        }
        windows.push_back(entry);
    }
    json slots = json::object();
    for (const int slot : kSlotsShown) slots[std::to_string(slot)] = Slot(session, slot);
    json messages = json::array();
    for (const HostDesktop::Message& message : HostDesktop::Instance().messages())
        messages.push_back({{"caption", message.caption}, {"text", message.text}});
    const ScenarioStatus scenario = session.scenarioStatus();
    const ModuleStatus& module = session.moduleStatus();
    const RecordingStatus recording = session.recordingStatus();
    json files = json::array();
    for (const RecordedScenario& file : session.recordings())
        files.push_back({{"name", file.name},
                         {"events", file.events},
                         {"expectations", file.expectations},
                         {"savedTo", file.savedTo}});
    return Json({{"frame", session.frames()},
                 {"paused", session.paused()},
                 {"frameRate", Number(session.frameRate())},
                 {"drawMs", Number(session.tiles().drawMilliseconds())},
                 {"encodeMs", Number(session.tiles().encodeMilliseconds())},
                 {"meanPictureMs", Number(session.meanPictureMilliseconds())},
                 {"windows", windows},
                 {"slots", slots},
                 {"messages", messages},
                 {"scenario",
                  {{"state", kScenarioStates[static_cast<int>(scenario.state)]},
                   {"file", scenario.file},
                   {"time", Number(scenario.time)},
                   {"duration", Number(scenario.duration)},
                   {"passed", scenario.passed},
                   {"failures", scenario.failures}}},
                 {"module",
                  {{"loads", module.loads},
                   {"loaded", module.loaded},
                   {"error", module.error},
                   {"at", module.loadedAt},
                   {"reloadMs", Number(module.reloadMilliseconds)},
                   {"watching", module.watching}}},
                 {"recording",
                  {{"state", kRecordingStates[static_cast<int>(recording.state)]},
                   {"section", recording.section},
                   {"time", Number(recording.time)},
                   {"events", recording.events},
                   {"marks", recording.marks},
                   {"note", recording.note},
                   {"files", files}}}});
}

const render::PanelWindow* WindowParam(PanelSession& session, const WebRequest& request, WebResponse& error) {
    const auto text = Param(request, "ident");
    const auto ident = text ? Parsed<std::uint32_t>(*text) : std::nullopt;
    if (!ident) {
        error = Error(400, "ident must be a window number");
        return nullptr;
    }
    const render::PanelWindow* window = session.FindWindow(*ident);
    if (window == nullptr) error = Error(404, "no window " + *text + " in the layout");
    return window;
}

WebResponse WindowPng(PanelSession& session, const WebRequest& request) {
    WebResponse error;
    const render::PanelWindow* window = WindowParam(session, request, error);
    if (window == nullptr) return error;
    std::string png = session.tiles().WindowPng(*window);
    if (png.empty()) return Error(500, "the window could not be drawn");
    return {200, "image/png", std::move(png)};
}

WebResponse TilePng(PanelSession& session, const WebRequest& request) {
    WebResponse error;
    const render::PanelWindow* window = WindowParam(session, request, error);
    if (window == nullptr) return error;
    const std::string text = Param(request, "tile").value_or("");
    const auto tile = Parsed<std::uint32_t>(text);
    const WindowPicture& picture = session.tiles().Picture(*window);
    if (!tile || *tile >= picture.tiles.size())
        return Error(404, "window " + std::to_string(window->ident) + " has tiles 0 to " +
                              std::to_string(picture.tiles.size()) + " (excluded), not \"" + text + "\"");
    const auto& png = picture.tiles[*tile].png;
    if (!png || png->empty()) return Error(500, "the tile could not be drawn");
    return {200, "image/png", *png};
}

WebResponse GaugePng(PanelSession& session, const WebRequest& request) {
    const std::string name = Param(request, "name").value_or("");
    std::string png = session.GaugePng(name);
    if (png.empty()) return Error(404, "no gauge \"" + name + "\" in the module");
    return {200, "image/png", std::move(png)};
}

// Each variable by what it is, its value in the unit a person reads it in.
WebResponse Variables(PanelSession& session) {
    json list = json::array();
    for (const variables::Variable& variable : variables::All()) {
        if (variable.access == variables::Access::kAircraft) continue;  // the page sets variables by token
        json entry = {{"name", variable.name},
                      {"token", variable.token},
                      {"label", variable.label},
                      {"meaning", variable.meaning},
                      {"digits", variable.digits()}};
        if (variable.digits()) {
            entry["value"] = variables::FormatTransponderDigits(session.simulator().IntegerVariable(variable.token));
        } else {
            const variables::Unit unit = variables::ReadingUnit(variable);
            entry["value"] = Number(session.simulator().Variable(variable.token) / unit.toRaw);
            entry["unit"] = unit.name;
        }
        list.push_back(entry);
    }
    return Json(list);
}

// A little-endian prefix (sample rate, channels as 32-bit numbers, the first sample's index as a 64-bit one), then
// the samples as 16-bit numbers, channels interleaved.
WebResponse Sound(PanelSession& session, const WebRequest& request) {
    SoundTap* tap = session.soundTap();
    if (tap == nullptr) return Error(404, "the sound plays " + session.soundOutput() + ", not in the browser");
    std::uint64_t from = UINT64_MAX;  // none given: from now on
    if (const auto text = Param(request, "from")) {
        const auto given = Parsed<std::uint64_t>(*text);
        if (!given) return Error(400, "from must be a sample index");
        from = *given;
    }
    constexpr std::size_t kMostSamples = 44100 * 2;  // a second of stereo
    const SoundTap::Chunk chunk = tap->After(from, kMostSamples);
    std::string body(16 + chunk.samples.size() * 2, '\0');
    const auto rate = static_cast<std::uint32_t>(chunk.sampleRate), channels = static_cast<std::uint32_t>(chunk.channels);
    std::memcpy(&body[0], &rate, 4);
    std::memcpy(&body[4], &channels, 4);
    std::memcpy(&body[8], &chunk.first, 8);
    if (!chunk.samples.empty()) std::memcpy(&body[16], chunk.samples.data(), chunk.samples.size() * 2);
    return {200, "application/octet-stream", std::move(body)};
}

WebResponse Mouse(PanelSession& session, const WebRequest& request) {
    WebResponse error;
    const render::PanelWindow* window = WindowParam(session, request, error);
    if (window == nullptr) return error;
    const auto x = FiniteNumber(Param(request, "x").value_or(""));
    const auto y = FiniteNumber(Param(request, "y").value_or(""));
    if (!x || !y) return Error(400, "x and y must be numbers (panel pixels)");
    static const std::map<std::string, MouseAction> kActions = {{"press", MouseAction::kPress},
                                                                {"release", MouseAction::kRelease},
                                                                {"leave", MouseAction::kLeave},
                                                                {"right", MouseAction::kRight}};
    const std::string actionName = Param(request, "action").value_or("");
    const auto action = kActions.find(actionName);
    if (action == kActions.end())
        return Error(400, "action must be press, release, leave or right, not \"" + actionName + "\"");
    const MouseResult result = session.Mouse(window->ident, *x, *y, action->second);
    if (!result.error.empty()) return Error(result.error.starts_with("no mouse area") ? 404 : 409, result.error);
    return Json({{"gauge", result.gauge}, {"area", result.area}, {"delivered", result.delivered}});
}

WebResponse ShowWindow(PanelSession& session, const WebRequest& request) {
    WebResponse error;
    const render::PanelWindow* window = WindowParam(session, request, error);
    if (window == nullptr) return error;
    const std::string shown = Param(request, "shown").value_or("toggle");
    if (shown != "0" && shown != "1" && shown != "toggle") return Error(400, "shown must be 0, 1 or toggle");
    const bool show = shown == "toggle" ? !session.simulator().IsWindowShown(window->ident) : shown == "1";
    session.ShowWindow(window->ident, show);
    return Json({{"shown", show}});
}

WebResponse SetVariable(PanelSession& session, const WebRequest& request) {
    const std::string name = Param(request, "name").value_or("");
    const std::string value = Param(request, "value").value_or("");
    const variables::Variable* variable = variables::Find(name);
    // Only the named variables: a bare token would reach variables the page knows nothing about.
    if (variable == nullptr || variable->access == variables::Access::kAircraft)
        return Error(404, "no simulator variable \"" + name + "\"");
    VariableSetting setting;
    if (std::string fault = ParseVariableSetting(name + "=" + value, setting); !fault.empty())
        return Error(400, fault);
    // In raw units unless the request names another of the variable's units.
    if (const auto unitName = Param(request, "unit"); unitName && *unitName != "raw") {
        const auto unit = variables::FindUnit(*variable, *unitName);
        if (!unit || variable->digits()) return Error(400, name + " has no unit \"" + *unitName + "\"");
        setting.value *= unit->toRaw;
    }
    if (!variable->digits() && (!std::isfinite(setting.value) || std::fabs(setting.value) > kLargestValue))
        return Error(400, name + " takes a finite number within +-2^53, not \"" + value + "\"");
    session.SetVariable(setting);
    return Ok();
}

WebResponse SetSlot(PanelSession& session, const WebRequest& request) {
    const std::string slot = Param(request, "slot").value_or("");
    const std::string value = Param(request, "value").value_or("");
    SlotSetting setting;
    if (std::string fault = ParseSlotSetting(slot + "=" + value, setting); !fault.empty()) return Error(400, fault);
    if (!std::isfinite(setting.value)) return Error(400, "a slot holds a finite number, not \"" + value + "\"");
    if (!session.SetSlot(setting.slot, setting.value)) return Error(409, "slot " + slot + " is busy; try again");
    return Ok();
}

WebResponse Clock(PanelSession& session, const WebRequest& request) {
    const std::string action = Param(request, "action").value_or("");
    if (action != "pause" && action != "run") return Error(400, "action must be pause or run");
    session.SetPaused(action == "pause");
    return Ok();
}

// An action of a set, each a call of the session giving its fault (empty when done).
WebResponse Action(PanelSession& session, const WebRequest& request,
                   const std::map<std::string, std::function<std::string(PanelSession&)>>& actions, int faultStatus) {
    const std::string name = Param(request, "action").value_or("");
    const auto action = actions.find(name);
    if (action == actions.end()) {
        std::string known;
        for (const auto& [known_name, call] : actions) known += (known.empty() ? "" : ", ") + known_name;
        return Error(400, "action must be one of " + known);
    }
    const std::string fault = action->second(session);
    return fault.empty() ? Ok() : Error(faultStatus, fault);
}

WebResponse Scenario(PanelSession& session, const WebRequest& request) {
    const std::string file = Param(request, "file").value_or("");
    return Action(session, request,
                  {{"start", [&](PanelSession& s) { return s.StartScenario(file); }},
                   {"restart", [](PanelSession& s) { return s.RestartScenario(); }},
                   {"stop", [](PanelSession& s) { return s.StopScenario(), std::string(); }}},
                  400);
}

WebResponse Record(PanelSession& session, const WebRequest& request) {
    return Action(session, request,
                  {{"start", [](PanelSession& s) { return s.StartRecording(); }},
                   {"mark", [](PanelSession& s) { return s.MarkRecording(); }},
                   {"stop", [](PanelSession& s) { return s.StopRecording(); }}},
                  409);
}

WebResponse Recording(PanelSession& session, const WebRequest& request) {
    const std::string name = Param(request, "file").value_or("");
    const RecordedScenario* file = session.FindRecording(name);
    if (file == nullptr) return Error(404, "no recorded scenario \"" + name + "\"");
    return {200, "application/yaml", file->text, file->name};
}

}  // namespace

namespace {

using Handler = std::function<WebResponse(PanelSession&, const WebRequest&)>;
struct Route {
    Handler handler;
    // Given after=N, answered only once a frame after N has run (see FrameAwaited).
    bool waitsForFrame = false;
};

const std::map<std::pair<std::string, std::string>, Route>& Routes() {
    static const std::map<std::pair<std::string, std::string>, Route> routes = {
        {{"GET", "/api/panel"}, {[](PanelSession& s, const WebRequest&) { return PanelDescription(s); }}},
        {{"GET", "/api/state"}, {[](PanelSession& s, const WebRequest&) { return State(s); }, true}},
        {{"GET", "/api/window"}, {WindowPng}},
        {{"GET", "/api/tile"}, {TilePng}},
        {{"GET", "/api/gauge"}, {GaugePng}},
        {{"GET", "/api/variables"}, {[](PanelSession& s, const WebRequest&) { return Variables(s); }}},
        {{"GET", "/api/scenarios"}, {[](PanelSession& s, const WebRequest&) { return Json(s.ScenarioFiles()); }}},
        {{"GET", "/api/sound"}, {Sound}},
        {{"GET", "/api/recording"}, {Recording}},
        {{"POST", "/api/mouse"}, {Mouse}},
        {{"POST", "/api/window"}, {ShowWindow}},
        {{"POST", "/api/variable"}, {SetVariable}},
        {{"POST", "/api/slot"}, {SetSlot}},
        {{"POST", "/api/clock"}, {Clock}},
        {{"POST", "/api/scenario"}, {Scenario}},
        {{"POST", "/api/record"}, {Record}},
    };
    return routes;
}

}  // namespace

std::optional<std::uint64_t> FrameAwaited(const WebRequest& request) {
    const auto route = Routes().find({request.method, request.path});
    if (route == Routes().end() || !route->second.waitsForFrame) return std::nullopt;
    const auto after = Param(request, "after");
    return after ? Parsed<std::uint64_t>(*after) : std::nullopt;
}

WebResponse HandleRequest(PanelSession& session, const WebRequest& request) {
    const auto route = Routes().find({request.method, request.path});
    if (route != Routes().end()) return route->second.handler(session, request);
    for (const auto& [key, handler] : Routes())
        if (key.second == request.path) return Error(405, request.method + " is not answered at " + request.path);
    return Error(404, "nothing at " + request.path);
}

}  // namespace web
