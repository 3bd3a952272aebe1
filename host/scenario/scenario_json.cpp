#include "scenario/scenario_json.h"

#include <cmath>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <stdexcept>

// Absent values (a mouse event not held, a picture compared with the layout's first window) as null.
template <typename T>
struct nlohmann::adl_serializer<std::optional<T>> {
    static void to_json(json& j, const std::optional<T>& value) { j = value ? json(*value) : json(nullptr); }
    static void from_json(const json& j, std::optional<T>& value) {
        value = j.is_null() ? std::nullopt : std::optional<T>(j.get<T>());
    }
};

namespace scenario {
namespace {

using nlohmann::json;

// Written by this program only; a compiled file of another layout is refused.
// 3: subjects and what is expected of them, values as written beside the raw ones.
constexpr const char* kFormat = "avrion-scenario 3";

// JSON has no infinities or not-a-number, which values may hold.
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

// The variable and unit as the YAML reader finds them, so that both readers
// hand the runner the same catalogue entries and factors.
const variables::Variable* VariableOf(const json& value) {
    const variables::Variable* variable = variables::Find(value.get<std::string>());
    if (variable == nullptr) throw std::invalid_argument("unknown variable " + value.get<std::string>());
    return variable;
}

variables::Unit UnitOf(const variables::Variable& variable, const json& value) {
    const auto unit = variables::FindUnit(variable, value.get<std::string>());
    if (!unit) throw std::invalid_argument("unknown unit " + value.get<std::string>() + " of " + variable.name);
    return *unit;
}

}  // namespace

// Each part of the model by the names of its fields; a location as [file, line].
void to_json(json& j, const Location& where) { j = json::array({where.file, where.line}); }
void from_json(const json& j, Location& where) {
    j.at(0).get_to(where.file);
    j.at(1).get_to(where.line);
}

void to_json(json& j, const Key& key) {
    j = {{"time", key.time}, {"value", Number(key.value)}, {"written", Number(key.written)}, {"where", key.where}};
}
void from_json(const json& j, Key& key) {
    key = {j.at("time").get<double>(), NumberOf(j.at("value")), NumberOf(j.at("written")),
           j.at("where").get<Location>()};
}

void to_json(json& j, const VariableTrack& track) {
    j = {{"variable", track.variable->name}, {"unit", track.unit.name}, {"step", track.step}, {"keys", track.keys},
         {"where", track.where}};
}
void from_json(const json& j, VariableTrack& track) {
    track.variable = VariableOf(j.at("variable"));
    track.unit = UnitOf(*track.variable, j.at("unit"));
    j.at("step").get_to(track.step);
    j.at("keys").get_to(track.keys);
    j.at("where").get_to(track.where);
}

void to_json(json& j, const SlotStep& step) {
    j = {{"time", step.time}, {"value", Number(step.value)}, {"busy", step.busy}, {"where", step.where}};
}
void from_json(const json& j, SlotStep& step) {
    step = {j.at("time").get<double>(), NumberOf(j.at("value")), j.at("busy").get<bool>(),
            j.at("where").get<Location>()};
}

NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(SlotTrack, slot, steps)

void to_json(json& j, const MouseEvent& event) {
    j = {{"time", event.time}, {"gauge", event.gauge}, {"area", event.area},         {"x", event.x},
         {"y", event.y},       {"right", event.right}, {"hold", event.holdSeconds}, {"where", event.where}};
}
void from_json(const json& j, MouseEvent& event) {
    j.at("time").get_to(event.time);
    j.at("gauge").get_to(event.gauge);
    j.at("area").get_to(event.area);
    j.at("x").get_to(event.x);
    j.at("y").get_to(event.y);
    j.at("right").get_to(event.right);
    j.at("hold").get_to(event.holdSeconds);
    j.at("where").get_to(event.where);
}

NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(Picture, time, name, reference, window, tolerance, threshold, where)

void to_json(json& j, const Subject& subject) {
    std::visit(Overloaded{
                   [&](const VariableSubject& v) { j = {{"variable", v.variable->name}, {"unit", v.unit.name}}; },
                   [&](const ElementSubject& e) { j = {{"gauge", e.gauge}, {"element", e.element}, {"text", e.text}}; },
                   [&](const SlotSubject& s) { j = {{"slot", s.slot}}; },
                   [&](const WindowSubject& w) { j = {{"window", w.window}}; },
               },
               subject);
}
void from_json(const json& j, Subject& subject) {
    if (j.contains("variable")) {
        const variables::Variable* variable = VariableOf(j.at("variable"));
        subject = VariableSubject{variable, UnitOf(*variable, j.at("unit"))};
    } else if (j.contains("gauge")) {
        subject = ElementSubject{j.at("gauge").get<std::string>(), j.at("element").get<int>(), j.at("text").get<bool>()};
    } else if (j.contains("slot")) {
        subject = SlotSubject{j.at("slot").get<int>()};
    } else {
        subject = WindowSubject{j.at("window").get<std::uint32_t>()};
    }
}

void to_json(json& j, const Expected& expected) {
    std::visit(Overloaded{
                   [&](const NearValue& n) { j = {{"value", Number(n.value)}, {"tolerance", Number(n.tolerance)}}; },
                   [&](const SameText& s) { j = {{"text", s.text}}; },
                   [&](const LampLit& l) { j = {{"lit", l.lit}}; },
                   [&](const WindowShown& w) { j = {{"shown", w.shown}}; },
               },
               expected);
}
void from_json(const json& j, Expected& expected) {
    if (j.contains("value"))
        expected = NearValue{NumberOf(j.at("value")), NumberOf(j.at("tolerance"))};
    else if (j.contains("text"))
        expected = SameText{j.at("text").get<std::string>()};
    else if (j.contains("lit"))
        expected = LampLit{j.at("lit").get<bool>()};
    else
        expected = WindowShown{j.at("shown").get<bool>()};
}

NLOHMANN_JSON_SERIALIZE_ENUM(Expectation::Span, {{Expectation::Span::kAt, "at"},
                                                 {Expectation::Span::kDuring, "during"},
                                                 {Expectation::Span::kWithin, "within"}})
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(Expectation, span, time, until, subject, expected, where)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(TraceColumn, subject, header, where)

void to_json(json& j, const Scenario& s) {
    j = {{"format", kFormat},
         {"file", s.file},
         {"name", s.name},
         {"description", s.description},
         {"frame_rate", s.frameRate},
         {"duration", s.duration},
         {"real_time", s.realTime},
         {"trace_interval", s.traceInterval},
         {"variables", s.variables},
         {"slots", s.slots},
         {"mouse", s.mouse},
         {"pictures", s.pictures},
         {"expectations", s.expectations},
         {"trace", s.trace}};
}
void from_json(const json& j, Scenario& s) {
    if (j.at("format") != kFormat) throw std::invalid_argument("not of the format \"" + std::string(kFormat) + "\"");
    j.at("file").get_to(s.file);
    j.at("name").get_to(s.name);
    j.at("description").get_to(s.description);
    j.at("frame_rate").get_to(s.frameRate);
    j.at("duration").get_to(s.duration);
    j.at("real_time").get_to(s.realTime);
    j.at("trace_interval").get_to(s.traceInterval);
    j.at("variables").get_to(s.variables);
    j.at("slots").get_to(s.slots);
    j.at("mouse").get_to(s.mouse);
    j.at("pictures").get_to(s.pictures);
    j.at("expectations").get_to(s.expectations);
    j.at("trace").get_to(s.trace);
}

namespace {

// Built member by member: GCC 12 warns falsely about nested brace initialisers of these strings at -O2.
ParseResult Refused(const std::string& file, std::string what) {
    ParseResult result;
    result.scenario.file = file;
    Problem problem;
    problem.where.file = file;
    problem.what = std::move(what);
    result.problems.push_back(std::move(problem));
    return result;
}

}  // namespace

std::string ScenarioToJson(const Scenario& scenario) { return json(scenario).dump(1) + "\n"; }

ParseResult ScenarioFromJson(const std::string& text, const std::string& fileName) {
    const json root = json::parse(text, nullptr, false);
    if (root.is_discarded()) return Refused(fileName, "not valid JSON");
    try {
        ParseResult result;
        result.scenario = root.get<Scenario>();
        return result;
    } catch (const std::exception& error) {
        return Refused(fileName, std::string("not a compiled scenario: ") + error.what());
    }
}

ParseResult LoadCompiledScenario(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return Refused(path, "cannot open the compiled scenario");
    std::ostringstream text;
    text << file.rdbuf();
    return ScenarioFromJson(text.str(), path);
}

}  // namespace scenario
