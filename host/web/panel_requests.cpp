#include "web/panel_requests.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <optional>
#include <sstream>

#include "sim/gauge_access.h"
#include "sim/host_desktop.h"
#include "sim/variable_catalogue.h"
#include "web/json_text.h"
#include "web/sound_tap.h"

namespace web {
namespace {

// Larger numbers lose whole units in a double; no variable of the simulator's goes near.
constexpr double kLargestValue = 9007199254740992.0;  // 2^53
constexpr int kSlotsShown[] = {shared_slot::kSetterPressure, shared_slot::kBreakerWord, shared_slot::kBusPower};

WebResponse Json(std::string body) { return {200, "application/json", std::move(body)}; }
WebResponse Error(int status, const std::string& message) { return {status, "application/json", JsonError(message)}; }
WebResponse Ok() { return Json("{\"ok\":true}"); }

std::optional<std::string> Param(const WebRequest& request, const std::string& name) {
    const auto found = request.params.find(name);
    if (found == request.params.end()) return std::nullopt;
    return found->second;
}

std::optional<double> Number(const std::string& text) {
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<std::uint32_t> Ident(const std::string& text) {
    std::uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

std::string SlotJson(PanelSession& session, int slot) {
    double value = 0.0;
    return session.siblings().ReadSlot(slot, value) ? JsonNumber(value) : std::string("null");
}

std::string AreasJson(const render::GaugeBox& box) {
    std::ostringstream out;
    out << "[";
    bool first = true;
    for (const gauge_access::MouseArea& area : gauge_access::ChildAreas(box.gauge)) {
        out << (first ? "" : ",") << "{\"x\":" << JsonNumber(box.x + area.x * box.scaleX)
            << ",\"y\":" << JsonNumber(box.y + area.y * box.scaleY)
            << ",\"width\":" << JsonNumber(area.width * box.scaleX)
            << ",\"height\":" << JsonNumber(area.height * box.scaleY) << ",\"cursor\":" << area.rect->cursor << "}";
        first = false;
    }
    return out.str() + "]";
}

WebResponse PanelDescription(PanelSession& session) {
    std::ostringstream out;
    out << "{\"windows\":[";
    bool firstWindow = true;
    for (const render::PanelWindow& window : session.layout().windows) {
        const render::Size size = session.WindowSize(window);
        out << (firstWindow ? "" : ",") << "{\"ident\":" << window.ident << ",\"title\":" << JsonString(window.title)
            << ",\"width\":" << size.width << ",\"height\":" << size.height << ",\"gauges\":[";
        bool firstGauge = true;
        for (const render::GaugeBox& box : session.GaugeBoxes(window)) {
            out << (firstGauge ? "" : ",") << "{\"name\":" << JsonString(box.gauge->name ? box.gauge->name : "")
                << ",\"x\":" << JsonNumber(box.x) << ",\"y\":" << JsonNumber(box.y)
                << ",\"width\":" << JsonNumber(box.width) << ",\"height\":" << JsonNumber(box.height)
                << ",\"areas\":" << AreasJson(box) << "}";
            firstGauge = false;
        }
        out << "]}";
        firstWindow = false;
    }
    out << "],\"frameRate\":" << JsonNumber(session.frameRate()) << ",\"tileSide\":" << WindowPicture::kTileSide
        << ",\"sound\":" << JsonString(session.soundOutput) << "}";
    return Json(out.str());
}

const char* StateName(ScenarioState state) {
    switch (state) {
        case ScenarioState::kNone:
            return "none";
        case ScenarioState::kPlaying:
            return "playing";
        case ScenarioState::kPaused:
            return "paused";
        case ScenarioState::kFinished:
            return "finished";
        case ScenarioState::kStopped:
            return "stopped";
    }
    return "none";
}

WebResponse State(PanelSession& session) {
    std::ostringstream out;
    out << "{\"frame\":" << session.frames() << ",\"paused\":" << (session.paused ? "true" : "false")
        << ",\"frameRate\":" << JsonNumber(session.frameRate())
        << ",\"drawMs\":" << JsonNumber(session.drawMilliseconds())
        << ",\"encodeMs\":" << JsonNumber(session.encodeMilliseconds())
        << ",\"meanPictureMs\":" << JsonNumber(session.meanPictureMilliseconds()) << ",\"windows\":[";
    bool first = true;
    for (const render::PanelWindow& window : session.layout().windows) {
        const bool shown = session.simulator().IsWindowShown(window.ident);
        out << (first ? "" : ",") << "{\"ident\":" << window.ident << ",\"shown\":" << (shown ? "true" : "false");
        if (shown) {
            const WindowPicture& picture = session.Picture(window);
            out << ",\"columns\":" << picture.columns << ",\"rows\":" << picture.rows << ",\"tiles\":[";
            for (std::size_t i = 0; i < picture.tiles.size(); ++i) out << (i ? "," : "") << picture.tiles[i].version;
            out << "]";
        }
        out << "}";
        first = false;
    }
    out << "],\"slots\":{";
    first = true;
    for (const int slot : kSlotsShown) {
        out << (first ? "" : ",") << "\"" << slot << "\":" << SlotJson(session, slot);
        first = false;
    }
    out << "},\"messages\":[";
    first = true;
    for (const HostDesktop::Message& message : HostDesktop::Instance().messages()) {
        out << (first ? "" : ",") << "{\"caption\":" << JsonString(message.caption)
            << ",\"text\":" << JsonString(message.text) << "}";
        first = false;
    }
    const ScenarioStatus scenario = session.scenarioStatus();
    out << "],\"scenario\":{\"state\":\"" << StateName(scenario.state) << "\",\"file\":" << JsonString(scenario.file)
        << ",\"time\":" << JsonNumber(scenario.time) << ",\"duration\":" << JsonNumber(scenario.duration)
        << ",\"passed\":" << scenario.passed << ",\"failures\":[";
    first = true;
    for (const std::string& failure : scenario.failures) {
        out << (first ? "" : ",") << JsonString(failure);
        first = false;
    }
    const ModuleStatus& module = session.moduleStatus();
    out << "]},\"module\":{\"loads\":" << module.loads << ",\"loaded\":" << (module.loaded ? "true" : "false")
        << ",\"error\":" << JsonString(module.error) << ",\"at\":" << JsonString(module.loadedAt)
        << ",\"reloadMs\":" << JsonNumber(module.reloadMilliseconds)
        << ",\"watching\":" << (module.watching ? "true" : "false") << "}";
    const RecordingStatus recording = session.recordingStatus();
    static constexpr const char* kRecordingStates[] = {"off", "recording", "stopping"};
    out << ",\"recording\":{\"state\":\"" << kRecordingStates[static_cast<int>(recording.state)]
        << "\",\"section\":" << recording.section << ",\"time\":" << JsonNumber(recording.time)
        << ",\"events\":" << recording.events << ",\"marks\":" << recording.marks
        << ",\"note\":" << JsonString(recording.note) << ",\"files\":[";
    first = true;
    for (const RecordedScenario& file : session.recordings()) {
        out << (first ? "" : ",") << "{\"name\":" << JsonString(file.name) << ",\"events\":" << file.events
            << ",\"expectations\":" << file.expectations << ",\"savedTo\":" << JsonString(file.savedTo) << "}";
        first = false;
    }
    out << "]}}";
    return Json(out.str());
}

const render::PanelWindow* WindowParam(PanelSession& session, const WebRequest& request, WebResponse& error) {
    const auto text = Param(request, "ident");
    const auto ident = text ? Ident(*text) : std::nullopt;
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
    std::string png = session.WindowPng(*window);
    if (png.empty()) return Error(500, "the window could not be drawn");
    return {200, "image/png", std::move(png)};
}

WebResponse TilePng(PanelSession& session, const WebRequest& request) {
    WebResponse error;
    const render::PanelWindow* window = WindowParam(session, request, error);
    if (window == nullptr) return error;
    const std::string text = Param(request, "tile").value_or("");
    const auto tile = Ident(text);
    const WindowPicture& picture = session.Picture(*window);
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

WebResponse Variables(PanelSession& session) {
    std::ostringstream out;
    out << "[";
    bool first = true;
    for (const variables::Variable& variable : variables::All()) {
        if (variable.access == variables::Access::kAircraft) continue;  // the page sets variables by token
        out << (first ? "" : ",") << "{\"name\":" << JsonString(variable.name) << ",\"token\":" << variable.token
            << ",\"meaning\":" << JsonString(variable.meaning) << ",\"digits\":"
            << (variable.digits() ? "true" : "false") << ",\"value\":";
        if (variable.digits()) {
            out << JsonString(variables::FormatTransponderDigits(session.simulator().IntegerVariable(variable.token)));
        } else {
            const variables::Unit unit = variables::ReadingUnit(variable);
            out << JsonNumber(session.simulator().Variable(variable.token) / unit.toRaw)
                << ",\"unit\":" << JsonString(unit.name);
        }
        out << "}";
        first = false;
    }
    return Json(out.str() + "]");
}

// A little-endian prefix (sample rate, channels as 32-bit numbers, the first sample's index as a 64-bit one), then
// the samples as 16-bit numbers, channels interleaved.
WebResponse Sound(PanelSession& session, const WebRequest& request) {
    if (session.soundTap == nullptr) return Error(404, "the sound plays " + session.soundOutput + ", not in the browser");
    std::uint64_t from = UINT64_MAX;  // none given: from now on
    if (const auto text = Param(request, "from")) {
        const char* end = text->data() + text->size();
        const auto [stop, error] = std::from_chars(text->data(), end, from);
        if (error != std::errc() || stop != end) return Error(400, "from must be a sample index");
    }
    constexpr std::size_t kMostSamples = 44100 * 2;  // a second of stereo
    const SoundTap::Chunk chunk = session.soundTap->After(from, kMostSamples);
    std::string body(16 + chunk.samples.size() * 2, '\0');
    const auto rate = static_cast<std::uint32_t>(chunk.sampleRate), channels = static_cast<std::uint32_t>(chunk.channels);
    std::memcpy(&body[0], &rate, 4);
    std::memcpy(&body[4], &channels, 4);
    std::memcpy(&body[8], &chunk.first, 8);
    if (!chunk.samples.empty()) std::memcpy(&body[16], chunk.samples.data(), chunk.samples.size() * 2);
    return {200, "application/octet-stream", std::move(body)};
}

WebResponse ScenarioFiles(PanelSession& session) {
    std::string body = "[";
    for (const std::string& file : session.ScenarioFiles()) body += (body.size() > 1 ? "," : "") + JsonString(file);
    return Json(body + "]");
}

WebResponse Mouse(PanelSession& session, const WebRequest& request) {
    WebResponse error;
    const render::PanelWindow* window = WindowParam(session, request, error);
    if (window == nullptr) return error;
    const auto x = Number(Param(request, "x").value_or(""));
    const auto y = Number(Param(request, "y").value_or(""));
    if (!x || !y) return Error(400, "x and y must be numbers (panel pixels)");
    const std::string actionName = Param(request, "action").value_or("");
    MouseAction action;
    if (actionName == "press")
        action = MouseAction::kPress;
    else if (actionName == "release")
        action = MouseAction::kRelease;
    else if (actionName == "leave")
        action = MouseAction::kLeave;
    else if (actionName == "right")
        action = MouseAction::kRight;
    else
        return Error(400, "action must be press, release, leave or right, not \"" + actionName + "\"");
    const MouseResult result = session.Mouse(window->ident, *x, *y, action);
    if (!result.error.empty()) return Error(result.error.starts_with("no mouse area") ? 404 : 409, result.error);
    return Json("{\"gauge\":" + JsonString(result.gauge) + ",\"area\":" + std::to_string(result.area) +
                ",\"delivered\":" + (result.delivered ? "true" : "false") + "}");
}

WebResponse ShowWindow(PanelSession& session, const WebRequest& request) {
    WebResponse error;
    const render::PanelWindow* window = WindowParam(session, request, error);
    if (window == nullptr) return error;
    const std::string shown = Param(request, "shown").value_or("toggle");
    bool show;
    if (shown == "1")
        show = true;
    else if (shown == "0")
        show = false;
    else if (shown == "toggle")
        show = !session.simulator().IsWindowShown(window->ident);
    else
        return Error(400, "shown must be 0, 1 or toggle");
    session.ShowWindow(window->ident, show);
    return Json(std::string("{\"shown\":") + (show ? "true" : "false") + "}");
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
    if (action == "pause")
        session.paused = true;
    else if (action == "run")
        session.paused = false;
    else
        return Error(400, "action must be pause or run");
    return Ok();
}

WebResponse Scenario(PanelSession& session, const WebRequest& request) {
    const std::string action = Param(request, "action").value_or("");
    std::string fault;
    if (action == "start")
        fault = session.StartScenario(Param(request, "file").value_or(""));
    else if (action == "restart")
        fault = session.RestartScenario();
    else if (action == "stop")
        session.StopScenario();
    else
        return Error(400, "action must be start, restart or stop");
    if (!fault.empty()) return Error(400, fault);
    return Ok();
}

WebResponse Record(PanelSession& session, const WebRequest& request) {
    const std::string action = Param(request, "action").value_or("");
    std::string fault;
    if (action == "start")
        fault = session.StartRecording();
    else if (action == "mark")
        fault = session.MarkRecording();
    else if (action == "stop")
        fault = session.StopRecording();
    else
        return Error(400, "action must be start, mark or stop");
    if (!fault.empty()) return Error(409, fault);
    return Ok();
}

WebResponse Recording(PanelSession& session, const WebRequest& request) {
    const std::string name = Param(request, "file").value_or("");
    const RecordedScenario* file = session.FindRecording(name);
    if (file == nullptr) return Error(404, "no recorded scenario \"" + name + "\"");
    WebResponse response{200, "application/yaml", file->text};
    response.downloadName = file->name;
    return response;
}

}  // namespace

WebResponse HandleRequest(PanelSession& session, const WebRequest& request) {
    using Handler = std::function<WebResponse(PanelSession&, const WebRequest&)>;
    static const std::map<std::pair<std::string, std::string>, Handler> routes = {
        {{"GET", "/api/panel"}, [](PanelSession& s, const WebRequest&) { return PanelDescription(s); }},
        {{"GET", "/api/state"}, [](PanelSession& s, const WebRequest&) { return State(s); }},
        {{"GET", "/api/window"}, WindowPng},
        {{"GET", "/api/tile"}, TilePng},
        {{"GET", "/api/gauge"}, GaugePng},
        {{"GET", "/api/variables"}, [](PanelSession& s, const WebRequest&) { return Variables(s); }},
        {{"GET", "/api/scenarios"}, [](PanelSession& s, const WebRequest&) { return ScenarioFiles(s); }},
        {{"GET", "/api/sound"}, Sound},
        {{"GET", "/api/recording"}, Recording},
        {{"POST", "/api/mouse"}, Mouse},
        {{"POST", "/api/window"}, ShowWindow},
        {{"POST", "/api/variable"}, SetVariable},
        {{"POST", "/api/slot"}, SetSlot},
        {{"POST", "/api/clock"}, Clock},
        {{"POST", "/api/scenario"}, Scenario},
        {{"POST", "/api/record"}, Record},
    };
    const auto route = routes.find({request.method, request.path});
    if (route != routes.end()) return route->second(session, request);
    for (const auto& [key, handler] : routes)
        if (key.second == request.path) return Error(405, request.method + " is not answered at " + request.path);
    return Error(404, "nothing at " + request.path);
}

}  // namespace web
