#include "scenario/scenario_json.h"

#include <cmath>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#include "scenario/overloaded.h"

namespace scenario {
namespace {

using nlohmann::json;

// Written by this program only; a compiled file of another layout is refused.
// 3: subjects and what is expected of them, values as written beside the raw ones.
constexpr const char* kFormat = "avrion-scenario 3";

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

constexpr const char* kSpans[] = {"at", "during", "within"};

Expectation::Span SpanOf(const json& value) {
    const std::string name = value.get<std::string>();
    for (int i = 0; i < 3; ++i)
        if (name == kSpans[i]) return static_cast<Expectation::Span>(i);
    throw std::invalid_argument("unknown span " + name);
}

// The variable and unit as the YAML reader finds them, so that both readers
// hand the runner the same catalogue entries and factors.
const variables::Variable& VariableOf(const json& value) {
    const variables::Variable* variable = variables::Find(value.get<std::string>());
    if (variable == nullptr) throw std::invalid_argument("unknown variable " + value.get<std::string>());
    return *variable;
}

variables::Unit UnitOf(const variables::Variable& variable, const json& value) {
    const auto unit = variables::FindUnit(variable, value.get<std::string>());
    if (!unit) throw std::invalid_argument("unknown unit " + value.get<std::string>() + " of " + variable.name);
    return *unit;
}

json SubjectJson(const Subject& subject) {
    return std::visit(
        Overloaded{
            [](const VariableSubject& v) { return json{{"variable", v.variable->name}, {"unit", v.unit.name}}; },
            [](const ElementSubject& e) { return json{{"gauge", e.gauge}, {"element", e.element}, {"text", e.text}}; },
            [](const SlotSubject& s) { return json{{"slot", s.slot}}; },
            [](const WindowSubject& w) { return json{{"window", w.window}}; },
        },
        subject);
}

Subject SubjectOf(const json& value) {
    if (value.contains("variable")) {
        const variables::Variable& variable = VariableOf(value.at("variable"));
        return VariableSubject{&variable, UnitOf(variable, value.at("unit"))};
    }
    if (value.contains("gauge"))
        return ElementSubject{value.at("gauge").get<std::string>(), value.at("element").get<int>(),
                              value.at("text").get<bool>()};
    if (value.contains("slot")) return SlotSubject{value.at("slot").get<int>()};
    return WindowSubject{value.at("window").get<std::uint32_t>()};
}

json ExpectedJson(const Expected& expected) {
    return std::visit(Overloaded{
                          [](const NearValue& n) {
                              return json{{"value", Number(n.value)}, {"tolerance", Number(n.tolerance)}};
                          },
                          [](const SameText& s) { return json{{"text", s.text}}; },
                          [](const LampLit& l) { return json{{"lit", l.lit}}; },
                          [](const WindowShown& w) { return json{{"shown", w.shown}}; },
                      },
                      expected);
}

Expected ExpectedOf(const json& value) {
    if (value.contains("value")) return NearValue{NumberOf(value.at("value")), NumberOf(value.at("tolerance"))};
    if (value.contains("text")) return SameText{value.at("text").get<std::string>()};
    if (value.contains("lit")) return LampLit{value.at("lit").get<bool>()};
    return WindowShown{value.at("shown").get<bool>()};
}

json ToJson(const Scenario& scenario) {
    json tracks = json::array();
    for (const VariableTrack& track : scenario.variables) {
        json keys = json::array();
        for (const Key& key : track.keys)
            keys.push_back({{"time", Number(key.time)},
                            {"value", Number(key.value)},
                            {"written", Number(key.written)},
                            {"where", Where(key.where)}});
        tracks.push_back({{"variable", track.variable->name},
                          {"unit", track.unit.name},
                          {"step", track.step},
                          {"keys", keys},
                          {"where", Where(track.where)}});
    }
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
    json mouse = json::array();
    for (const MouseEvent& event : scenario.mouse)
        mouse.push_back({{"time", Number(event.time)},
                         {"gauge", event.gauge},
                         {"area", event.area},
                         {"x", event.x},
                         {"y", event.y},
                         {"right", event.right},
                         {"hold", event.holdSeconds ? Number(*event.holdSeconds) : json(nullptr)},
                         {"where", Where(event.where)}});
    json pictures = json::array();
    for (const Picture& picture : scenario.pictures)
        pictures.push_back({{"time", Number(picture.time)},
                            {"name", picture.name},
                            {"reference", picture.reference},
                            {"window", picture.window ? json(*picture.window) : json(nullptr)},
                            {"tolerance", picture.tolerance},
                            {"threshold", Number(picture.threshold)},
                            {"where", Where(picture.where)}});
    json expectations = json::array();
    for (const Expectation& expect : scenario.expectations)
        expectations.push_back({{"span", kSpans[static_cast<int>(expect.span)]},
                                {"time", Number(expect.time)},
                                {"until", Number(expect.until)},
                                {"subject", SubjectJson(expect.subject)},
                                {"expected", ExpectedJson(expect.expected)},
                                {"where", Where(expect.where)}});
    json trace = json::array();
    for (const TraceColumn& column : scenario.trace)
        trace.push_back(
            {{"subject", SubjectJson(column.subject)}, {"header", column.header}, {"where", Where(column.where)}});
    return {{"format", kFormat},
            {"file", scenario.file},
            {"name", scenario.name},
            {"description", scenario.description},
            {"frame_rate", Number(scenario.frameRate)},
            {"duration", Number(scenario.duration)},
            {"real_time", scenario.realTime},
            {"trace_interval", Number(scenario.traceInterval)},
            {"variables", tracks},
            {"slots", slots},
            {"mouse", mouse},
            {"pictures", pictures},
            {"expectations", expectations},
            {"trace", trace}};
}

Scenario FromJson(const json& root) {
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
        track.variable = &VariableOf(value.at("variable"));
        track.unit = UnitOf(*track.variable, value.at("unit"));
        track.step = value.at("step").get<bool>();
        track.where = WhereOf(value.at("where"));
        for (const json& k : value.at("keys"))
            track.keys.push_back({NumberOf(k.at("time")), NumberOf(k.at("value")), NumberOf(k.at("written")),
                                  WhereOf(k.at("where"))});
        scenario.variables.push_back(std::move(track));
    }
    for (const json& value : root.at("slots")) {
        SlotTrack track;
        track.slot = value.at("slot").get<int>();
        for (const json& s : value.at("steps"))
            track.steps.push_back({NumberOf(s.at("time")), NumberOf(s.at("value")), s.at("busy").get<bool>(),
                                   WhereOf(s.at("where"))});
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
        if (!value.at("hold").is_null()) event.holdSeconds = NumberOf(value.at("hold"));
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
        expect.span = SpanOf(value.at("span"));
        expect.time = NumberOf(value.at("time"));
        expect.until = NumberOf(value.at("until"));
        expect.subject = SubjectOf(value.at("subject"));
        expect.expected = ExpectedOf(value.at("expected"));
        expect.where = WhereOf(value.at("where"));
        scenario.expectations.push_back(std::move(expect));
    }
    for (const json& value : root.at("trace"))
        scenario.trace.push_back(
            {SubjectOf(value.at("subject")), value.at("header").get<std::string>(), WhereOf(value.at("where"))});
    return scenario;
}

Problem ProblemIn(const std::string& file, std::string what) {
    Problem problem;
    problem.where.file = file;
    problem.what = std::move(what);
    return problem;
}

}  // namespace

std::string ScenarioToJson(const Scenario& scenario) { return ToJson(scenario).dump(1) + "\n"; }

ParseResult ScenarioFromJson(const std::string& text, const std::string& fileName) {
    ParseResult result;
    result.scenario.file = fileName;
    const json root = json::parse(text, nullptr, false);
    if (root.is_discarded()) {
        result.problems.push_back(ProblemIn(fileName, "not valid JSON"));
        return result;
    }
    try {
        result.scenario = FromJson(root);
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
