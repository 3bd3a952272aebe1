// The scenario model written as its YAML file with yaml-cpp's emitter: every
// setting written out, numbers in their shortest exact form, texts quoted, so
// that reading the file gives the same model back.
#include <yaml-cpp/yaml.h>

#include <charconv>
#include <cmath>

#include "scenario/scenario_yaml.h"

namespace scenario {
namespace {

// The shortest text that reads back as the same double, as YAML writes the odd ones.
std::string Number(double value) {
    if (std::isnan(value)) return ".nan";
    if (std::isinf(value)) return value > 0 ? ".inf" : "-.inf";
    char text[40];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

void Text(YAML::Emitter& out, const char* key, const std::string& text) {
    out << YAML::Key << key << YAML::Value << YAML::DoubleQuoted << text;
}

void Pair(YAML::Emitter& out, const std::string& first, const std::string& second) {
    out << YAML::Flow << YAML::BeginSeq << first << second << YAML::EndSeq;
}

void Settings(YAML::Emitter& out, const Scenario& scenario) {
    out << YAML::Key << "settings" << YAML::Value << YAML::BeginMap;
    out << YAML::Key << "frame_rate" << YAML::Value << Number(scenario.frameRate);
    out << YAML::Key << "duration" << YAML::Value << Number(scenario.duration);
    if (scenario.realTime) out << YAML::Key << "real_time" << YAML::Value << "true";
    out << YAML::EndMap;
}

void Variables(YAML::Emitter& out, const Scenario& scenario) {
    out << YAML::Key << "variables" << YAML::Value << YAML::BeginMap;
    for (const VariableTrack& track : scenario.variables) {
        out << YAML::Key << track.variable->name << YAML::Value << YAML::Flow << YAML::BeginMap;
        if (!(track.unit == variables::kRaw)) out << YAML::Key << "unit" << YAML::Value << track.unit.name;
        if (track.step && !track.variable->digits()) out << YAML::Key << "interpolate" << YAML::Value << "step";
        out << YAML::Key << "keys" << YAML::Value << YAML::BeginSeq;
        for (const Key& key : track.keys) {
            out << YAML::BeginSeq << Number(key.time);
            if (track.variable->digits())
                out << YAML::DoubleQuoted << variables::FormatTransponderDigits(static_cast<unsigned>(key.written));
            else
                out << Number(key.written);
            out << YAML::EndSeq;
        }
        out << YAML::EndSeq << YAML::EndMap;
    }
    out << YAML::EndMap;
}

void Slots(YAML::Emitter& out, const Scenario& scenario) {
    out << YAML::Key << "slots" << YAML::Value << YAML::BeginMap;
    for (const SlotTrack& track : scenario.slots) {
        out << YAML::Key << track.slot << YAML::Value << YAML::Flow << YAML::BeginSeq;
        for (const SlotStep& step : track.steps) Pair(out, Number(step.time), step.busy ? "busy" : Number(step.value));
        out << YAML::EndSeq;
    }
    out << YAML::EndMap;
}

void Mouse(YAML::Emitter& out, const Scenario& scenario, const std::vector<std::string>& comments) {
    out << YAML::Key << "mouse" << YAML::Value << YAML::BeginSeq;
    for (std::size_t i = 0; i < scenario.mouse.size(); ++i) {
        const MouseEvent& event = scenario.mouse[i];
        out << YAML::Flow << YAML::BeginMap << YAML::Key << "at" << YAML::Value << Number(event.time);
        Text(out, "gauge", event.gauge);
        if (event.area > 0)
            out << YAML::Key << "area" << YAML::Value << event.area;
        else
            out << YAML::Key << "point" << YAML::Value << YAML::Flow << YAML::BeginSeq << event.x << event.y
                << YAML::EndSeq;
        if (event.right) out << YAML::Key << "button" << YAML::Value << "right";
        if (event.holdSeconds) out << YAML::Key << "hold" << YAML::Value << Number(*event.holdSeconds);
        out << YAML::EndMap;
        if (i < comments.size() && !comments[i].empty()) out << YAML::Comment(comments[i]);
    }
    out << YAML::EndSeq;
}

void Pictures(YAML::Emitter& out, const Scenario& scenario) {
    out << YAML::Key << "pictures" << YAML::Value << YAML::BeginSeq;
    for (const Picture& picture : scenario.pictures) {
        out << YAML::Flow << YAML::BeginMap << YAML::Key << "at" << YAML::Value << Number(picture.time);
        Text(out, "name", picture.name);
        if (!picture.reference.empty()) {
            Text(out, "reference", picture.reference);
            if (picture.window) out << YAML::Key << "window" << YAML::Value << *picture.window;
            out << YAML::Key << "tolerance" << YAML::Value << picture.tolerance;
            out << YAML::Key << "threshold" << YAML::Value << Number(picture.threshold);
        }
        out << YAML::EndMap;
    }
    out << YAML::EndSeq;
}

// The subject's keys as an expectation or a trace column names it.
void SubjectKeys(YAML::Emitter& out, const Subject& subject) {
    std::visit(Overloaded{
                   [&](const VariableSubject& variable) {
                       out << YAML::Key << "variable" << YAML::Value << variable.variable->name;
                       if (!(variable.unit == variables::kRaw))
                           out << YAML::Key << "unit" << YAML::Value << variable.unit.name;
                   },
                   [&](const ElementSubject& element) {
                       Text(out, "gauge", element.gauge);
                       out << YAML::Key << "element" << YAML::Value << element.element;
                   },
                   [&](const SlotSubject& slot) { out << YAML::Key << "slot" << YAML::Value << slot.slot; },
                   [&](const WindowSubject& window) { out << YAML::Key << "window" << YAML::Value << window.window; },
               },
               subject);
}

void Expectations(YAML::Emitter& out, const Scenario& scenario) {
    out << YAML::Key << "expect" << YAML::Value << YAML::BeginSeq;
    for (const Expectation& expect : scenario.expectations) {
        out << YAML::Flow << YAML::BeginMap;
        if (expect.span == Expectation::Span::kAt) {
            out << YAML::Key << "at" << YAML::Value << Number(expect.time);
        } else {
            out << YAML::Key << (expect.span == Expectation::Span::kDuring ? "during" : "within") << YAML::Value;
            Pair(out, Number(expect.time), Number(expect.until));
        }
        SubjectKeys(out, expect.subject);
        std::visit(Overloaded{
                       [&](const NearValue& near) {
                           out << YAML::Key << "value" << YAML::Value << Number(near.value);
                           out << YAML::Key << "tolerance" << YAML::Value << Number(near.tolerance);
                       },
                       [&](const SameText& same) { Text(out, "text", same.text); },
                       [&](const LampLit& lamp) { out << YAML::Key << "lamp" << YAML::Value << (lamp.lit ? "lit" : "dark"); },
                       [&](const WindowShown& window) {
                           out << YAML::Key << "shown" << YAML::Value << (window.shown ? "true" : "false");
                       },
                   },
                   expect.expected);
        out << YAML::EndMap;
    }
    out << YAML::EndSeq;
}

void Trace(YAML::Emitter& out, const Scenario& scenario) {
    out << YAML::Key << "trace" << YAML::Value << YAML::BeginMap;
    if (scenario.traceInterval != 0.0) out << YAML::Key << "interval" << YAML::Value << Number(scenario.traceInterval);
    out << YAML::Key << "columns" << YAML::Value << YAML::BeginSeq;
    for (const TraceColumn& column : scenario.trace) {
        out << YAML::Flow << YAML::BeginMap;
        SubjectKeys(out, column.subject);
        if (const auto* element = std::get_if<ElementSubject>(&column.subject); element && element->text)
            out << YAML::Key << "text" << YAML::Value << "true";
        if (column.header != DefaultHeader(column.subject)) Text(out, "label", column.header);
        out << YAML::EndMap;
    }
    out << YAML::EndSeq << YAML::EndMap;
}

}  // namespace

std::string ScenarioToYaml(const Scenario& scenario, const YamlComments& comments) {
    YAML::Emitter out;
    for (const std::string& comment : comments.heading) out << YAML::Comment(comment) << YAML::Newline;
    out << YAML::BeginMap;
    if (!scenario.name.empty()) Text(out, "name", scenario.name);
    if (!scenario.description.empty()) Text(out, "description", scenario.description);
    Settings(out, scenario);
    if (!scenario.variables.empty()) Variables(out, scenario);
    if (!scenario.slots.empty()) Slots(out, scenario);
    if (!scenario.mouse.empty()) Mouse(out, scenario, comments.mouse);
    if (!scenario.pictures.empty()) Pictures(out, scenario);
    if (!scenario.expectations.empty()) Expectations(out, scenario);
    if (!scenario.trace.empty() || scenario.traceInterval != 0.0) Trace(out, scenario);
    out << YAML::EndMap;
    return std::string(out.c_str()) + "\n";
}

}  // namespace scenario
