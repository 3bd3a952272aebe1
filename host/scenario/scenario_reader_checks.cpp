// What a scenario expects and traces, and the end of its run.
#include "scenario/scenario_reader.h"
#include "state/shared_slots.h"

namespace scenario {

// at: TIME, during: [FROM, TO] or within: [FROM, TO].
bool ScenarioReader::ReadWhen(const YAML::Node& node, Expectation& expect) {
    if (node["at"]) {
        if (!in_.Time(node["at"], expect.time)) return false;
        expect.until = expect.time;
        return true;
    }
    expect.span = node["during"] ? Expectation::Span::kDuring : Expectation::Span::kWithin;
    const YAML::Node& interval = node[node["during"] ? "during" : "within"];
    if (!interval.IsSequence() || interval.size() != 2) {
        in_.Fail(interval, "an interval must be a pair [from, to] of times in seconds");
        return false;
    }
    if (!in_.Time(interval[0], expect.time) || !in_.Time(interval[1], expect.until)) return false;
    if (expect.until < expect.time) {
        in_.Fail(interval, "the interval runs backwards: from " + FormatNumber(expect.time) + " s comes after to " +
                               FormatNumber(expect.until) + " s");
        return false;
    }
    return true;
}

void ScenarioReader::ReadExpectation(const YAML::Node& node) {
    Expectation expect;
    expect.where = in_.At(node);
    const std::string context = "an expectation";
    if (!in_.IsMapWithKeys(node, context,
                           {"at", "during", "within", "gauge", "element", "value", "text", "lamp", "tolerance", "slot",
                            "window", "shown"}))
        return;
    if (static_cast<bool>(node["at"]) + static_cast<bool>(node["during"]) + static_cast<bool>(node["within"]) != 1) {
        in_.Fail(node, context + " needs one of \"at\", \"during\" or \"within\"");
        return;
    }
    const bool when = ReadWhen(node, expect);
    const int subjects =
        static_cast<bool>(node["gauge"]) + static_cast<bool>(node["slot"]) + static_cast<bool>(node["window"]);
    if (subjects != 1) {
        in_.Fail(node, "an expectation is about one gauge element, slot or window");
        return;
    }
    if (ReadSubjectOfExpectation(node, expect) && when) scenario_.expectations.push_back(expect);
}

// The subject and what is expected of it; false when either is faulty.
bool ScenarioReader::ReadSubjectOfExpectation(const YAML::Node& node, Expectation& expect) {
    const std::string context = "an expectation";
    if (node["window"]) {
        if (!in_.Only(node, context + " about a window", {"at", "during", "within", "window", "shown"}) ||
            !in_.Required(node, "shown", context))
            return false;
        long long window = 0;
        WindowShown shown;
        bool ok = in_.Integer(node["window"], "the window number", 0, UINT32_MAX, window);
        ok = in_.Bool(node["shown"], "shown", shown.shown) && ok;
        expect.subject = WindowSubject{static_cast<std::uint32_t>(window)};
        expect.expected = shown;
        return ok;
    }
    if (node["slot"]) {
        if (!in_.Only(node, context + " about a slot", {"at", "during", "within", "slot", "value", "tolerance"}) ||
            !in_.Required(node, "value", context))
            return false;
        SlotSubject slot;
        NearValue near{0.0, Scenario::kDefaultTolerance};
        bool ok = in_.Int(node["slot"], "the slot number", 0, shared_slot::kCount - 1, slot.slot);
        ok = in_.Real(node["value"], "the expected value", near.value) && ok;
        ok = Tolerance(node, near) && ok;
        expect.subject = slot;
        expect.expected = near;
        return ok;
    }
    const int checks =
        static_cast<bool>(node["value"]) + static_cast<bool>(node["text"]) + static_cast<bool>(node["lamp"]);
    if (checks != 1 || node["shown"]) {
        in_.Fail(node, "an expectation on a gauge element gives one of value, text or lamp");
        return false;
    }
    if (!in_.Required(node, "element", context)) return false;
    ElementSubject element;
    bool ok = in_.Name(node["gauge"], "the gauge", element.gauge);
    ok = in_.Int(node["element"], "the element number", 1, kLargestNumber, element.element) && ok;
    if (node["value"]) {
        NearValue near{0.0, Scenario::kDefaultTolerance};
        ok = in_.Real(node["value"], "the expected value", near.value) && ok;
        ok = Tolerance(node, near) && ok;
        expect.expected = near;
    } else if (node["tolerance"]) {
        in_.Fail(node["tolerance"], "a tolerance goes with a value only");
        return false;
    } else if (node["text"]) {
        SameText same;
        ok = in_.Scalar(node["text"], "the expected text", same.text) && ok;
        element.text = true;
        expect.expected = same;
    } else {
        LampLit lamp;
        std::string state;
        if (in_.Scalar(node["lamp"], "the lamp", state)) {
            if (state == "lit" || state == "dark") {
                lamp.lit = state == "lit";
            } else {
                in_.Fail(node["lamp"], "a lamp is lit or dark, got \"" + state + "\"");
                ok = false;
            }
        }
        expect.expected = lamp;
    }
    expect.subject = element;
    return ok;
}

bool ScenarioReader::Tolerance(const YAML::Node& node, NearValue& near) {
    return !node["tolerance"] || in_.FiniteReal(node["tolerance"], "the tolerance", near.tolerance, 0.0);
}

void ScenarioReader::ReadTrace(const YAML::Node& node) {
    if (node.IsSequence()) {
        in_.ForEach(node, "trace", [&](const YAML::Node& column) { ReadColumn(column); });
        return;
    }
    in_.IsMapWithKeys(node, "trace", {"interval", "columns"});
    if (!node.IsMap()) return;
    if (node["interval"])
        in_.FiniteReal(node["interval"], "the trace interval in seconds", scenario_.traceInterval, 0.0);
    if (node["columns"])
        in_.ForEach(node["columns"], "the trace columns", [&](const YAML::Node& column) { ReadColumn(column); });
}

void ScenarioReader::ReadColumn(const YAML::Node& node) {
    TraceColumn column;
    column.where = in_.At(node);
    std::string label;
    if (node.IsScalar()) {
        std::string name;
        if (!in_.Name(node, "the variable", name)) return;
        const variables::Variable* variable = KnownVariable(node, name);
        if (variable == nullptr) return;
        column.subject = VariableSubject{variable, variables::kRaw};
    } else {
        const std::string context = "a trace column";
        if (!in_.IsMapWithKeys(node, context, {"variable", "unit", "gauge", "element", "text", "slot", "window", "label"}))
            return;
        const int subjects = static_cast<bool>(node["variable"]) + static_cast<bool>(node["gauge"]) +
                             static_cast<bool>(node["slot"]) + static_cast<bool>(node["window"]);
        if (subjects != 1) {
            in_.Fail(node, "a trace column shows one variable, gauge element, slot or window");
            return;
        }
        if (node["label"] && !in_.Name(node["label"], "the label", label)) return;
        if (!ReadColumnSubject(node, column)) return;
    }
    column.header = DefaultHeader(column.subject);
    // A unit named, even the raw one, shows in the header.
    if (const auto* variable = std::get_if<VariableSubject>(&column.subject); variable && node.IsMap() && node["unit"])
        column.header = std::string(variable->variable->name) + " [" + variable->unit.name + "]";
    if (!label.empty()) column.header = label;
    scenario_.trace.push_back(column);
}

bool ScenarioReader::ReadColumnSubject(const YAML::Node& node, TraceColumn& column) {
    const std::string context = "a trace column";
    if (node["variable"]) {
        if (!in_.Only(node, context + " of a variable", {"variable", "unit", "label"})) return false;
        std::string name;
        if (!in_.Name(node["variable"], "the variable", name)) return false;
        VariableSubject subject{KnownVariable(node["variable"], name), variables::kRaw};
        if (subject.variable == nullptr) return false;
        if (node["unit"]) {
            std::string unitName;
            if (!in_.Scalar(node["unit"], "the unit", unitName)) return false;
            const auto unit = variables::FindUnit(*subject.variable, unitName);
            if (!unit) {
                in_.Fail(node["unit"], "unknown unit \"" + unitName + "\" for " + name);
                return false;
            }
            subject.unit = *unit;
        }
        column.subject = subject;
    } else if (node["gauge"]) {
        if (!in_.Only(node, context + " of a gauge element", {"gauge", "element", "text", "label"}) ||
            !in_.Required(node, "element", context))
            return false;
        ElementSubject element;
        if (!in_.Name(node["gauge"], "the gauge", element.gauge) ||
            !in_.Int(node["element"], "the element number", 1, kLargestNumber, element.element) ||
            (node["text"] && !in_.Bool(node["text"], "text", element.text)))
            return false;
        column.subject = element;
    } else if (node["slot"]) {
        SlotSubject slot;
        if (!in_.Only(node, context + " of a slot", {"slot", "label"}) ||
            !in_.Int(node["slot"], "the slot number", 0, shared_slot::kCount - 1, slot.slot))
            return false;
        column.subject = slot;
    } else {
        long long window = 0;
        if (!in_.Only(node, context + " of a window", {"window", "label"}) ||
            !in_.Integer(node["window"], "the window number", 0, UINT32_MAX, window))
            return false;
        column.subject = WindowSubject{static_cast<std::uint32_t>(window)};
    }
    return true;
}

// The run lasts as long as the file says, or up to the last thing it names;
// nothing that happens at a moment may lie beyond the end.
void ScenarioReader::SettleDuration() {
    if (!durationGiven_) {
        double last = 0.0;
        for (const auto& track : scenario_.slots) last = std::max(last, track.steps.back().time);
        for (const auto& event : scenario_.mouse) last = std::max(last, event.time + event.holdSeconds.value_or(0.0));
        for (const auto& picture : scenario_.pictures) last = std::max(last, picture.time);
        for (const auto& expect : scenario_.expectations) last = std::max(last, expect.until);
        for (const auto& track : scenario_.variables) last = std::max(last, track.keys.back().time);
        scenario_.duration = last;
    }
    if (scenario_.duration * scenario_.frameRate > static_cast<double>(Scenario::kMaxFrames)) {
        in_.Fail(durationGiven_ ? durationWhere_ : Location{in_.file(), 0},
                 "the run would take " + FormatNumber(scenario_.duration * scenario_.frameRate) + " frames; at most " +
                     std::to_string(Scenario::kMaxFrames) + " are run");
        return;
    }
    const auto check = [&](double time, const Location& where, const std::string& what) {
        if (AfterEnd(time))
            in_.Fail(where, what + " at " + FormatNumber(time) + " s lies after the end of the run (" +
                                FormatNumber(scenario_.duration) + " s)");
    };
    for (const auto& track : scenario_.slots)
        for (const auto& step : track.steps) check(step.time, step.where, "the step of slot " + std::to_string(track.slot));
    for (const auto& event : scenario_.mouse) check(event.time, event.where, "the mouse event");
    for (const auto& picture : scenario_.pictures) check(picture.time, picture.where, "the picture");
    for (const auto& expect : scenario_.expectations)
        check(expect.until, expect.where,
              expect.span == Expectation::Span::kAt ? "the expectation" : "the end of the expectation's interval");
}

bool ScenarioReader::AfterEnd(double time) const {
    if (time <= scenario_.duration) return false;
    // At least one frame per second: a second later is always a later frame.
    if (time > scenario_.duration + 1.0) return true;
    return scenario_.FrameAt(time) > scenario_.LastFrame();
}

}  // namespace scenario
