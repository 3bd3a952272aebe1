#include "scenario/scenario_json.h"

#include <cmath>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

namespace scenario {
namespace {

using nlohmann::json;

// Written by this program only; a compiled file of another layout is refused.
// 2: expectations over intervals, reference pictures.
constexpr const char* kFormat = "avrion-scenario 2";

// JSON has no infinities or not-a-number, which an expectation may hold.
json Number(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    return value;
}

double NumberOf(const json& value) {
    if (value.is_number()) return value.get<double>();
    const std::string text = value.get<std::string>();
    if (text == "nan") return std::numeric_limits<double>::quiet_NaN();
    if (text == "inf") return std::numeric_limits<double>::infinity();
    if (text == "-inf") return -std::numeric_limits<double>::infinity();
    throw std::invalid_argument("not a number: " + text);
}

json Where(const Location& where) { return json::array({where.file, where.line}); }

Location WhereOf(const json& value) {
    Location where;
    where.file = value.at(0).get<std::string>();
    where.line = value.at(1).get<int>();
    return where;
}

// Each enumeration by name, so that a reordering cannot change a file's meaning.
constexpr const char* kExpectationKinds[] = {"value", "text", "lamp", "slot", "window"};
constexpr const char* kSpans[] = {"at", "during", "within"};
constexpr const char* kColumnKinds[] = {"variable", "value", "text", "slot", "window"};

template <typename Kind, std::size_t N>
Kind KindOf(const json& value, const char* const (&names)[N]) {
    const std::string name = value.get<std::string>();
    for (std::size_t i = 0; i < N; ++i)
        if (name == names[i]) return static_cast<Kind>(i);
    throw std::invalid_argument("unknown kind " + name);
}

json Variable(const ScriptedVariable& variable, const Unit& unit) {
    return {{"name", variable.name}, {"unit", unit.name}};
}

// The variable and unit as the YAML reader finds them, so that both readers
// hand the runner the same tokens and factors.
void ReadVariable(const json& value, ScriptedVariable& variable, Unit& unit) {
    const std::string name = value.at("name").get<std::string>();
    const std::string unitName = value.at("unit").get<std::string>();
    const auto found = FindScriptedVariable(name);
    if (!found) throw std::invalid_argument("unknown variable " + name);
    const auto foundUnit = FindUnit(name, unitName);
    if (!foundUnit) throw std::invalid_argument("unknown unit " + unitName + " of " + name);
    variable = *found;
    unit = *foundUnit;
}

json Tracks(const Scenario& scenario) {
    json tracks = json::array();
    for (const VariableTrack& track : scenario.variables) {
        json keys = json::array();
        for (const Key& key : track.keys)
            keys.push_back({{"time", Number(key.time)},
                            {"value", Number(key.value)},
                            {"digits", key.digits},
                            {"where", Where(key.where)}});
        tracks.push_back({{"variable", Variable(track.variable, track.unit)},
                          {"step", track.step},
                          {"keys", keys},
                          {"where", Where(track.where)}});
    }
    return tracks;
}

json Slots(const Scenario& scenario) {
    json slots = json::array();
    for (const SlotTrack& track : scenario.slots) {
        json steps = json::array();
        for (const SlotStep& step : track.steps)
            steps.push_back({{"time", Number(step.time)},
                             {"value", Number(step.value)},
                             {"busy", step.busy},
                             {"where", Where(step.where)}});
        slots.push_back({{"slot", track.slot}, {"steps", steps}});
    }
    return slots;
}

json Mouse(const Scenario& scenario) {
    json events = json::array();
    for (const MouseEvent& event : scenario.mouse)
        events.push_back({{"time", Number(event.time)},
                          {"gauge", event.gauge},
                          {"area", event.area},
                          {"x", event.x},
                          {"y", event.y},
                          {"right", event.right},
                          {"held", event.held},
                          {"hold_seconds", Number(event.holdSeconds)},
                          {"where", Where(event.where)}});
    return events;
}

json Pictures(const Scenario& scenario) {
    json pictures = json::array();
    for (const Picture& picture : scenario.pictures)
        pictures.push_back({{"time", Number(picture.time)},
                            {"name", picture.name},
                            {"reference", picture.reference},
                            {"window", picture.window ? json(*picture.window) : json(nullptr)},
                            {"tolerance", picture.tolerance},
                            {"threshold", Number(picture.threshold)},
                            {"where", Where(picture.where)}});
    return pictures;
}

json Expectations(const Scenario& scenario) {
    json expectations = json::array();
    for (const Expectation& expect : scenario.expectations)
        expectations.push_back({{"kind", kExpectationKinds[static_cast<int>(expect.kind)]},
                                {"span", kSpans[static_cast<int>(expect.span)]},
                                {"time", Number(expect.time)},
                                {"until", Number(expect.until)},
                                {"gauge", expect.gauge},
                                {"element", expect.element},
                                {"value", Number(expect.value)},
                                {"tolerance", Number(expect.tolerance)},
                                {"text", expect.text},
                                {"lit", expect.lit},
                                {"slot", expect.slot},
                                {"window", expect.window},
                                {"shown", expect.shown},
                                {"where", Where(expect.where)}});
    return expectations;
}

json Trace(const Scenario& scenario) {
    json columns = json::array();
    for (const TraceColumn& column : scenario.trace) {
        json entry = {{"kind", kColumnKinds[static_cast<int>(column.kind)]},
                      {"gauge", column.gauge},
                      {"element", column.element},
                      {"slot", column.slot},
                      {"window", column.window},
                      {"header", column.header},
                      {"where", Where(column.where)}};
        if (column.kind == TraceColumn::Kind::kVariable) entry["variable"] = Variable(column.variable, column.unit);
        columns.push_back(entry);
    }
    return columns;
}

Scenario Read(const json& root) {
    if (root.at("format").get<std::string>() != kFormat)
        throw std::invalid_argument("not of the format \"" + std::string(kFormat) + "\"");
    Scenario scenario;
    scenario.file = root.at("file").get<std::string>();
    scenario.name = root.at("name").get<std::string>();
    scenario.description = root.at("description").get<std::string>();
    scenario.frameRate = NumberOf(root.at("frame_rate"));
    scenario.duration = NumberOf(root.at("duration"));
    scenario.realTime = root.at("real_time").get<bool>();
    scenario.traceInterval = NumberOf(root.at("trace_interval"));

    for (const json& value : root.at("variables")) {
        VariableTrack track;
        ReadVariable(value.at("variable"), track.variable, track.unit);
        track.step = value.at("step").get<bool>();
        track.where = WhereOf(value.at("where"));
        for (const json& k : value.at("keys")) {
            Key key;
            key.time = NumberOf(k.at("time"));
            key.value = NumberOf(k.at("value"));
            key.digits = k.at("digits").get<unsigned>();
            key.where = WhereOf(k.at("where"));
            track.keys.push_back(key);
        }
        scenario.variables.push_back(std::move(track));
    }
    for (const json& value : root.at("slots")) {
        SlotTrack track;
        track.slot = value.at("slot").get<int>();
        for (const json& s : value.at("steps")) {
            SlotStep step;
            step.time = NumberOf(s.at("time"));
            step.value = NumberOf(s.at("value"));
            step.busy = s.at("busy").get<bool>();
            step.where = WhereOf(s.at("where"));
            track.steps.push_back(step);
        }
        scenario.slots.push_back(std::move(track));
    }
    for (const json& value : root.at("mouse")) {
        MouseEvent event;
        event.time = NumberOf(value.at("time"));
        event.gauge = value.at("gauge").get<std::string>();
        event.area = value.at("area").get<int>();
        event.x = value.at("x").get<int>();
        event.y = value.at("y").get<int>();
        event.right = value.at("right").get<bool>();
        event.held = value.at("held").get<bool>();
        event.holdSeconds = NumberOf(value.at("hold_seconds"));
        event.where = WhereOf(value.at("where"));
        scenario.mouse.push_back(std::move(event));
    }
    for (const json& value : root.at("pictures")) {
        Picture picture;
        picture.time = NumberOf(value.at("time"));
        picture.name = value.at("name").get<std::string>();
        picture.reference = value.at("reference").get<std::string>();
        if (!value.at("window").is_null()) picture.window = value.at("window").get<std::uint32_t>();
        picture.tolerance = value.at("tolerance").get<long long>();
        picture.threshold = NumberOf(value.at("threshold"));
        picture.where = WhereOf(value.at("where"));
        scenario.pictures.push_back(std::move(picture));
    }
    for (const json& value : root.at("expectations")) {
        Expectation expect;
        expect.kind = KindOf<Expectation::Kind>(value.at("kind"), kExpectationKinds);
        expect.span = KindOf<Expectation::Span>(value.at("span"), kSpans);
        expect.time = NumberOf(value.at("time"));
        expect.until = NumberOf(value.at("until"));
        expect.gauge = value.at("gauge").get<std::string>();
        expect.element = value.at("element").get<int>();
        expect.value = NumberOf(value.at("value"));
        expect.tolerance = NumberOf(value.at("tolerance"));
        expect.text = value.at("text").get<std::string>();
        expect.lit = value.at("lit").get<bool>();
        expect.slot = value.at("slot").get<int>();
        expect.window = value.at("window").get<std::uint32_t>();
        expect.shown = value.at("shown").get<bool>();
        expect.where = WhereOf(value.at("where"));
        scenario.expectations.push_back(std::move(expect));
    }
    for (const json& value : root.at("trace")) {
        TraceColumn column;
        column.kind = KindOf<TraceColumn::Kind>(value.at("kind"), kColumnKinds);
        if (column.kind == TraceColumn::Kind::kVariable)
            ReadVariable(value.at("variable"), column.variable, column.unit);
        column.gauge = value.at("gauge").get<std::string>();
        column.element = value.at("element").get<int>();
        column.slot = value.at("slot").get<int>();
        column.window = value.at("window").get<std::uint32_t>();
        column.header = value.at("header").get<std::string>();
        column.where = WhereOf(value.at("where"));
        scenario.trace.push_back(std::move(column));
    }
    return scenario;
}

Problem ProblemIn(const std::string& file, std::string what) {
    Problem problem;
    problem.where.file = file;
    problem.what = std::move(what);
    return problem;
}

}  // namespace

std::string ScenarioToJson(const Scenario& scenario) {
    const json root = {{"format", kFormat},
                       {"file", scenario.file},
                       {"name", scenario.name},
                       {"description", scenario.description},
                       {"frame_rate", Number(scenario.frameRate)},
                       {"duration", Number(scenario.duration)},
                       {"real_time", scenario.realTime},
                       {"trace_interval", Number(scenario.traceInterval)},
                       {"variables", Tracks(scenario)},
                       {"slots", Slots(scenario)},
                       {"mouse", Mouse(scenario)},
                       {"pictures", Pictures(scenario)},
                       {"expectations", Expectations(scenario)},
                       {"trace", Trace(scenario)}};
    return root.dump(1) + "\n";
}

ParseResult ScenarioFromJson(const std::string& text, const std::string& fileName) {
    ParseResult result;
    result.scenario.file = fileName;
    const json root = json::parse(text, nullptr, false);
    if (root.is_discarded()) {
        result.problems.push_back(ProblemIn(fileName, "not valid JSON"));
        return result;
    }
    try {
        result.scenario = Read(root);
    } catch (const std::exception& error) {
        result.scenario = Scenario{};
        result.scenario.file = fileName;
        result.problems.push_back(ProblemIn(fileName, std::string("not a compiled scenario: ") + error.what()));
    }
    return result;
}

ParseResult LoadCompiledScenario(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        ParseResult result;
        result.scenario.file = path;
        result.problems.push_back(ProblemIn(path, "cannot open the compiled scenario"));
        return result;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return ScenarioFromJson(text.str(), path);
}

}  // namespace scenario
