#include "scenario/scenario.h"

#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <set>
#include <sstream>

namespace scenario {
namespace {

std::string Join(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

bool IsYamlInfinity(std::string_view text) {
    return text == ".inf" || text == ".Inf" || text == ".INF" || text == "+.inf" || text == "+.Inf" || text == "+.INF";
}

enum class NumberText { kNumber, kNotANumber, kOutOfRange };

// A decimal number as YAML writes it, its infinities and not-a-number included.
NumberText ParseDouble(std::string_view text, double& value) {
    if (IsYamlInfinity(text)) {
        value = INFINITY;
        return NumberText::kNumber;
    }
    if (text == "-.inf" || text == "-.Inf" || text == "-.INF") {
        value = -INFINITY;
        return NumberText::kNumber;
    }
    if (text == ".nan" || text == ".NaN" || text == ".NAN") {
        value = NAN;
        return NumberText::kNumber;
    }
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || stop != end) return NumberText::kNotANumber;
    return error == std::errc() ? NumberText::kNumber : NumberText::kOutOfRange;
}

// Reads the nodes of one file, noting every fault with its line and going on,
// so that one run of the checker names them all.
class Reader {
public:
    Reader(std::string file, std::vector<Problem>& problems) : file_(std::move(file)), problems_(problems) {}

    Location At(const YAML::Node& node, const Location& fallback = {}) const {
        const YAML::Mark mark = node.Mark();
        if (mark.line < 0) return fallback.file.empty() ? Location{file_, 0} : fallback;
        return {file_, mark.line + 1};
    }
    void Fail(const Location& where, std::string what) { problems_.push_back({where, std::move(what)}); }
    void Fail(const YAML::Node& node, std::string what) { Fail(At(node), std::move(what)); }

    // Reports keys that are not among those allowed and keys given twice.
    bool IsMapWithKeys(const YAML::Node& node, const std::string& context, std::initializer_list<const char*> allowed) {
        if (!node.IsMap()) {
            Fail(node, context + " must be a mapping of keys to values");
            return false;
        }
        std::set<std::string> seen;
        bool ok = true;
        for (const auto& entry : node) {
            const std::string key = entry.first.Scalar();
            if (!entry.first.IsScalar()) {
                Fail(entry.first, "the keys of " + context + " must be plain names");
                ok = false;
            } else if (std::none_of(allowed.begin(), allowed.end(), [&](const char* name) { return key == name; })) {
                std::vector<std::string> names(allowed.begin(), allowed.end());
                Fail(entry.first, "unknown key \"" + key + "\" in " + context + " (known: " + Join(names) + ")");
                ok = false;
            } else if (!seen.insert(key).second) {
                Fail(entry.first, "\"" + key + "\" is given twice in " + context);
                ok = false;
            }
        }
        return ok;
    }

    bool Scalar(const YAML::Node& node, const std::string& what, std::string& text) {
        if (!node.IsDefined() || node.IsNull()) {
            Fail(node, what + " is missing");
            return false;
        }
        if (!node.IsScalar()) {
            Fail(node, what + " must be a single value, not a " + (node.IsMap() ? "mapping" : "list"));
            return false;
        }
        text = node.Scalar();
        return true;
    }
    bool Real(const YAML::Node& node, const std::string& what, double& value) {
        std::string text;
        if (!Scalar(node, what, text)) return false;
        switch (ParseDouble(text, value)) {
            case NumberText::kNumber:
                return true;
            case NumberText::kNotANumber:
                Fail(node, what + " must be a number, got \"" + text + "\"");
                return false;
            case NumberText::kOutOfRange:
                Fail(node, what + " is beyond the range of numbers, got " + text);
                return false;
        }
        return false;
    }
    bool FiniteReal(const YAML::Node& node, const std::string& what, double& value, double lowest) {
        if (!Real(node, what, value)) return false;
        if (!std::isfinite(value) || value < lowest) {
            Fail(node, what + " must be a finite number not below " + FormatNumber(lowest) + ", got " + FormatNumber(value));
            return false;
        }
        return true;
    }
    bool Time(const YAML::Node& node, double& time) { return FiniteReal(node, "a time in seconds", time, 0.0); }
    bool Integer(const YAML::Node& node, const std::string& what, long long lowest, long long highest,
                 long long& value) {
        std::string text;
        if (!Scalar(node, what, text)) return false;
        const char* end = text.data() + text.size();
        const auto [stop, error] = std::from_chars(text.data(), end, value);
        if (text.empty() || stop != end) {
            Fail(node, what + " must be a whole number, got \"" + text + "\"");
            return false;
        }
        // Digits beyond the range of long long leave the value unset: out of range too.
        if (error != std::errc() || value < lowest || value > highest) {
            Fail(node, what + " must lie between " + std::to_string(lowest) + " and " + std::to_string(highest) +
                           ", got " + text);
            return false;
        }
        return true;
    }
    bool Int(const YAML::Node& node, const std::string& what, int lowest, int highest, int& value) {
        long long wide = 0;
        if (!Integer(node, what, lowest, highest, wide)) return false;
        value = static_cast<int>(wide);
        return true;
    }
    bool Bool(const YAML::Node& node, const std::string& what, bool& value) {
        std::string text;
        if (!Scalar(node, what, text)) return false;
        std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
        if (text == "true" || text == "yes" || text == "on") {
            value = true;
        } else if (text == "false" || text == "no" || text == "off") {
            value = false;
        } else {
            Fail(node, what + " must be true or false, got \"" + text + "\"");
            return false;
        }
        return true;
    }
    bool Name(const YAML::Node& node, const std::string& what, std::string& text) {
        if (!Scalar(node, what, text)) return false;
        if (text.empty()) {
            Fail(node, what + " must not be empty");
            return false;
        }
        return true;
    }
    // A [time, value] pair.
    bool Pair(const YAML::Node& node, const std::string& what, YAML::Node& time, YAML::Node& value) {
        if (!node.IsSequence() || node.size() != 2) {
            Fail(node, what + " must be a pair [time, value]");
            return false;
        }
        time = node[0];
        value = node[1];
        return true;
    }

    const std::string& file() const { return file_; }

private:
    std::string file_;
    std::vector<Problem>& problems_;
};

class ScenarioReader {
public:
    ScenarioReader(const std::string& file, std::vector<Problem>& problems) : in_(file, problems) {
        scenario_.file = file;
    }

    Scenario Read(const YAML::Node& root) {
        // Unknown keys are reported and the known ones still read, so that one
        // run names every fault of the file.
        in_.IsMapWithKeys(
            root, "the scenario",
            {"name", "description", "settings", "variables", "slots", "mouse", "pictures", "expect", "trace"});
        if (!root.IsMap()) return std::move(scenario_);
        if (root["name"]) in_.Scalar(root["name"], "the name", scenario_.name);
        if (root["description"]) in_.Scalar(root["description"], "the description", scenario_.description);
        if (root["settings"]) ReadSettings(root["settings"]);
        if (root["variables"]) ReadVariables(root["variables"]);
        if (root["slots"]) ReadSlots(root["slots"]);
        if (root["mouse"]) ForEach(root["mouse"], "mouse", [&](const YAML::Node& node) { ReadMouse(node); });
        if (root["pictures"]) ForEach(root["pictures"], "pictures", [&](const YAML::Node& node) { ReadPicture(node); });
        if (root["expect"]) ForEach(root["expect"], "expect", [&](const YAML::Node& node) { ReadExpectation(node); });
        if (root["trace"]) ReadTrace(root["trace"]);
        SettleDuration();
        return std::move(scenario_);
    }

private:
    template <typename Each>
    void ForEach(const YAML::Node& list, const std::string& section, Each each) {
        if (!list.IsSequence()) {
            in_.Fail(list, section + " must be a list (entries starting with \"- \")");
            return;
        }
        for (const auto& node : list) each(node);
    }

    void ReadSettings(const YAML::Node& node) {
        in_.IsMapWithKeys(node, "settings", {"frame_rate", "duration", "real_time"});
        if (!node.IsMap()) return;
        if (node["frame_rate"]) {
            double rate = 0.0;
            if (in_.FiniteReal(node["frame_rate"], "the frame rate", rate, kLowestFrameRate)) {
                if (rate > kHighestFrameRate)
                    in_.Fail(node["frame_rate"], "the frame rate must not exceed " + FormatNumber(kHighestFrameRate) +
                                                     " frames per second, got " + FormatNumber(rate));
                else
                    scenario_.frameRate = rate;
            }
        }
        if (node["duration"]) {
            durationWhere_ = in_.At(node["duration"]);
            double duration = 0.0;
            if (in_.FiniteReal(node["duration"], "the duration in seconds", duration, 0.0)) {
                scenario_.duration = duration;
                durationGiven_ = true;
            }
        }
        if (node["real_time"]) in_.Bool(node["real_time"], "real_time", scenario_.realTime);
    }

    // A value of a variable in raw units, or its transponder digits.
    bool VariableValue(const YAML::Node& node, const VariableTrack& track, Key& key) {
        if (track.variable.digits) {
            std::string text;
            if (!in_.Scalar(node, track.variable.name, text)) return false;
            const auto digits = ParseTransponderDigits(text);
            if (!digits) {
                in_.Fail(node, track.variable.name + " takes four digits 0 to 7, got \"" + text + "\"");
                return false;
            }
            key.digits = *digits;
            return true;
        }
        if (!in_.Real(node, "the value of " + track.variable.name, key.value)) return false;
        key.value *= track.unit.toRaw;
        return true;
    }

    void ReadKeys(const YAML::Node& list, VariableTrack& track) {
        if (!list.IsSequence() || list.size() == 0) {
            in_.Fail(list, "the keys of " + track.variable.name + " must be a list of [time, value] pairs");
            return;
        }
        for (const auto& pair : list) {
            YAML::Node time, value;
            Key key;
            key.where = in_.At(pair, track.where);
            if (!in_.Pair(pair, "a key of " + track.variable.name, time, value)) continue;
            if (!in_.Time(time, key.time) || !VariableValue(value, track, key)) continue;
            if (!track.keys.empty() && key.time < track.keys.back().time) {
                in_.Fail(pair, "the keys of " + track.variable.name + " must be in time order: " + FormatNumber(key.time) +
                                   " s comes after " + FormatNumber(track.keys.back().time) + " s");
                continue;
            }
            track.keys.push_back(key);
        }
    }

    void ReadVariables(const YAML::Node& node) {
        if (!node.IsMap()) {
            in_.Fail(node, "variables must map each variable's name to its value or keys");
            return;
        }
        std::set<std::string> seen;
        for (const auto& entry : node) {
            const std::string name = entry.first.Scalar();
            VariableTrack track;
            track.where = in_.At(entry.first);
            const auto variable = FindScriptedVariable(name);
            if (!variable) {
                in_.Fail(entry.first,
                         "unknown simulator variable \"" + name + "\" (known: " + Join(ScriptedVariableNames()) + ")");
                continue;
            }
            if (!seen.insert(name).second) {
                in_.Fail(entry.first, "variable " + name + " is given twice");
                continue;
            }
            track.variable = *variable;
            track.step = variable->digits;
            const YAML::Node& body = entry.second;
            if (body.IsMap()) {
                if (!in_.IsMapWithKeys(body, "variable " + name, {"unit", "interpolate", "value", "keys"})) continue;
                if (!ReadUnitAndInterpolation(body, track)) continue;
                if (static_cast<bool>(body["value"]) == static_cast<bool>(body["keys"])) {
                    in_.Fail(body, "variable " + name + " needs either a value or keys, not both nor neither");
                    continue;
                }
                if (body["value"])
                    ReadConstant(body["value"], track);
                else
                    ReadKeys(body["keys"], track);
            } else if (body.IsSequence()) {
                ReadKeys(body, track);
            } else {
                ReadConstant(body, track);
            }
            if (!track.keys.empty()) scenario_.variables.push_back(std::move(track));
        }
    }

    bool ReadUnitAndInterpolation(const YAML::Node& body, VariableTrack& track) {
        const std::string& name = track.variable.name;
        if (body["unit"]) {
            std::string unitName;
            if (!in_.Scalar(body["unit"], "the unit of " + name, unitName)) return false;
            const auto unit = FindUnit(name, unitName);
            if (!unit) {
                std::vector<std::string> known;
                for (const Unit& candidate : UnitsOf(name)) known.emplace_back(candidate.name);
                in_.Fail(body["unit"],
                         "unknown unit \"" + unitName + "\" for " + name + " (known: " + Join(known) + ")");
                return false;
            }
            track.unit = *unit;
        }
        if (body["interpolate"]) {
            std::string mode;
            if (!in_.Scalar(body["interpolate"], "interpolate", mode)) return false;
            if (mode == "step") {
                track.step = true;
            } else if (mode == "linear" && !track.variable.digits) {
                track.step = false;
            } else {
                in_.Fail(body["interpolate"], "interpolate must be " +
                                                  std::string(track.variable.digits ? "step" : "linear or step") +
                                                  " for " + name + ", got \"" + mode + "\"");
                return false;
            }
        }
        return true;
    }

    void ReadConstant(const YAML::Node& value, VariableTrack& track) {
        Key key;
        key.where = in_.At(value, track.where);
        if (VariableValue(value, track, key)) track.keys.push_back(key);
    }

    bool SlotValue(const YAML::Node& node, int slot, SlotStep& step) {
        if (node.IsScalar() && node.Scalar() == "busy") {
            step.busy = true;
            return true;
        }
        return in_.Real(node, "the value of slot " + std::to_string(slot) + " (a number or busy)", step.value);
    }

    void ReadSlots(const YAML::Node& node) {
        if (!node.IsMap()) {
            in_.Fail(node, "slots must map each slot number to its value or its steps");
            return;
        }
        std::set<int> seen;
        for (const auto& entry : node) {
            SlotTrack track;
            if (!in_.Int(entry.first, "a slot number", 0, kSlotCount - 1, track.slot)) continue;
            if (!seen.insert(track.slot).second) {
                in_.Fail(entry.first, "slot " + std::to_string(track.slot) + " is given twice");
                continue;
            }
            const YAML::Node& body = entry.second;
            if (body.IsSequence()) {
                if (body.size() == 0) in_.Fail(body, "the steps of a slot must be a list of [time, value] pairs");
                for (const auto& pair : body) {
                    YAML::Node time, value;
                    SlotStep step;
                    step.where = in_.At(pair, in_.At(entry.first));
                    if (!in_.Pair(pair, "a step of slot " + std::to_string(track.slot), time, value)) continue;
                    if (!in_.Time(time, step.time) || !SlotValue(value, track.slot, step)) continue;
                    if (!track.steps.empty() && step.time < track.steps.back().time) {
                        in_.Fail(pair, "the steps of slot " + std::to_string(track.slot) + " must be in time order");
                        continue;
                    }
                    track.steps.push_back(step);
                }
            } else {
                SlotStep step;
                step.where = in_.At(body, in_.At(entry.first));
                if (SlotValue(body, track.slot, step)) track.steps.push_back(step);
            }
            if (!track.steps.empty()) scenario_.slots.push_back(std::move(track));
        }
    }

    void ReadMouse(const YAML::Node& node) {
        MouseEvent event;
        event.where = in_.At(node);
        if (!in_.IsMapWithKeys(node, "a mouse event", {"at", "gauge", "area", "point", "button", "hold"})) return;
        if (!Required(node, "at", "a mouse event") || !Required(node, "gauge", "a mouse event")) return;
        bool ok = in_.Time(node["at"], event.time);
        ok = in_.Name(node["gauge"], "the gauge", event.gauge) && ok;
        if (static_cast<bool>(node["area"]) == static_cast<bool>(node["point"])) {
            in_.Fail(node, "a mouse event names either an area or a point, not both nor neither");
            return;
        }
        if (node["area"]) {
            ok = in_.Int(node["area"], "the area number", 1, kLargestNumber, event.area) && ok;
        } else {
            const YAML::Node& point = node["point"];
            if (!point.IsSequence() || point.size() != 2) {
                in_.Fail(point, "the point must be [x, y] in gauge pixels");
                return;
            }
            ok = in_.Int(point[0], "x", -kLargestNumber, kLargestNumber, event.x) && ok;
            ok = in_.Int(point[1], "y", -kLargestNumber, kLargestNumber, event.y) && ok;
        }
        if (node["button"]) {
            std::string button;
            if (in_.Scalar(node["button"], "the button", button)) {
                if (button == "right") {
                    event.right = true;
                } else if (button != "left") {
                    in_.Fail(node["button"], "the button must be left or right, got \"" + button + "\"");
                    ok = false;
                }
            }
        }
        if (node["hold"]) {
            event.held = true;
            ok = in_.FiniteReal(node["hold"], "the time held in seconds", event.holdSeconds, 0.0) && ok;
            if (event.right) {
                in_.Fail(node["hold"], "only the left button is held");
                ok = false;
            }
        }
        if (ok) scenario_.mouse.push_back(event);
    }

    void ReadPicture(const YAML::Node& node) {
        Picture picture;
        picture.where = in_.At(node);
        if (!in_.IsMapWithKeys(node, "a picture", {"at", "name", "reference", "window", "tolerance", "threshold"}))
            return;
        if (!Required(node, "at", "a picture") || !Required(node, "name", "a picture")) return;
        bool ok = in_.Time(node["at"], picture.time);
        ok = in_.Name(node["name"], "the picture's name", picture.name) && ok;
        if (node["reference"]) {
            ok = in_.Name(node["reference"], "the reference picture", picture.reference) && ok;
        } else {
            for (const char* key : {"window", "tolerance", "threshold"})
                if (node[key]) {
                    in_.Fail(node[key], "\"" + std::string(key) + "\" goes with a reference picture only");
                    return;
                }
        }
        if (node["window"]) {
            long long window = 0;
            ok = in_.Integer(node["window"], "the window number", 0, UINT32_MAX, window) && ok;
            picture.window = static_cast<std::uint32_t>(window);
        }
        if (node["tolerance"])
            ok = in_.Integer(node["tolerance"], "the tolerance in pixels", 0, kLargestPixelCount, picture.tolerance) &&
                 ok;
        if (node["threshold"]) {
            ok = in_.FiniteReal(node["threshold"], "the threshold", picture.threshold, 0.0) && ok;
            if (ok && picture.threshold > 1.0) {
                in_.Fail(node["threshold"],
                         "the threshold is a colour distance from 0 to 1, got " + FormatNumber(picture.threshold));
                ok = false;
            }
        }
        if (ok) scenario_.pictures.push_back(picture);
    }

    // at: TIME, during: [FROM, TO] or within: [FROM, TO].
    bool ReadWhen(const YAML::Node& node, Expectation& expect) {
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

    void ReadExpectation(const YAML::Node& node) {
        Expectation expect;
        expect.where = in_.At(node);
        expect.tolerance = Scenario::kDefaultTolerance;
        const std::string context = "an expectation";
        if (!in_.IsMapWithKeys(node, context,
                               {"at", "during", "within", "gauge", "element", "value", "text", "lamp", "tolerance",
                                "slot", "window", "shown"}))
            return;
        if (static_cast<bool>(node["at"]) + static_cast<bool>(node["during"]) + static_cast<bool>(node["within"]) !=
            1) {
            in_.Fail(node, context + " needs one of \"at\", \"during\" or \"within\"");
            return;
        }
        bool ok = ReadWhen(node, expect);
        const bool gauge = static_cast<bool>(node["gauge"]);
        const int subjects = gauge + static_cast<bool>(node["slot"]) + static_cast<bool>(node["window"]);
        if (subjects != 1) {
            in_.Fail(node, "an expectation is about one gauge element, slot or window");
            return;
        }
        if (node["window"]) {
            expect.kind = Expectation::Kind::kWindow;
            if (!Only(node, context + " about a window", {"at", "during", "within", "window", "shown"}) ||
                !Required(node, "shown", context))
                return;
            long long window = 0;
            ok = in_.Integer(node["window"], "the window number", 0, UINT32_MAX, window) && ok;
            expect.window = static_cast<std::uint32_t>(window);
            ok = in_.Bool(node["shown"], "shown", expect.shown) && ok;
        } else if (node["slot"]) {
            expect.kind = Expectation::Kind::kSlot;
            if (!Only(node, context + " about a slot", {"at", "during", "within", "slot", "value", "tolerance"}) ||
                !Required(node, "value", context))
                return;
            ok = in_.Int(node["slot"], "the slot number", 0, kSlotCount - 1, expect.slot) && ok;
            ok = in_.Real(node["value"], "the expected value", expect.value) && ok;
            ok = Tolerance(node, expect) && ok;
        } else {
            const int checks =
                static_cast<bool>(node["value"]) + static_cast<bool>(node["text"]) + static_cast<bool>(node["lamp"]);
            if (checks != 1 || node["shown"]) {
                in_.Fail(node, "an expectation on a gauge element gives one of value, text or lamp");
                return;
            }
            if (!Required(node, "element", context)) return;
            ok = in_.Name(node["gauge"], "the gauge", expect.gauge) && ok;
            ok = in_.Int(node["element"], "the element number", 1, kLargestNumber, expect.element) && ok;
            if (node["value"]) {
                expect.kind = Expectation::Kind::kValue;
                ok = in_.Real(node["value"], "the expected value", expect.value) && ok;
                ok = Tolerance(node, expect) && ok;
            } else {
                if (node["tolerance"]) {
                    in_.Fail(node["tolerance"], "a tolerance goes with a value only");
                    return;
                }
                if (node["text"]) {
                    expect.kind = Expectation::Kind::kText;
                    ok = in_.Scalar(node["text"], "the expected text", expect.text) && ok;
                } else {
                    expect.kind = Expectation::Kind::kLamp;
                    std::string state;
                    if (in_.Scalar(node["lamp"], "the lamp", state)) {
                        if (state == "lit" || state == "dark") {
                            expect.lit = state == "lit";
                        } else {
                            in_.Fail(node["lamp"], "a lamp is lit or dark, got \"" + state + "\"");
                            ok = false;
                        }
                    }
                }
            }
        }
        if (ok) scenario_.expectations.push_back(expect);
    }

    bool Tolerance(const YAML::Node& node, Expectation& expect) {
        return !node["tolerance"] || in_.FiniteReal(node["tolerance"], "the tolerance", expect.tolerance, 0.0);
    }

    void ReadTrace(const YAML::Node& node) {
        if (node.IsSequence()) {
            ForEach(node, "trace", [&](const YAML::Node& column) { ReadColumn(column); });
            return;
        }
        in_.IsMapWithKeys(node, "trace", {"interval", "columns"});
        if (!node.IsMap()) return;
        if (node["interval"])
            in_.FiniteReal(node["interval"], "the trace interval in seconds", scenario_.traceInterval, 0.0);
        if (node["columns"])
            ForEach(node["columns"], "the trace columns", [&](const YAML::Node& column) { ReadColumn(column); });
    }

    void ReadColumn(const YAML::Node& node) {
        TraceColumn column;
        column.where = in_.At(node);
        std::string label;
        if (node.IsScalar()) {
            if (!TraceVariable(node, column)) return;
        } else {
            const std::string context = "a trace column";
            if (!in_.IsMapWithKeys(node, context,
                                   {"variable", "unit", "gauge", "element", "text", "slot", "window", "label"}))
                return;
            const int subjects = static_cast<bool>(node["variable"]) + static_cast<bool>(node["gauge"]) +
                                 static_cast<bool>(node["slot"]) + static_cast<bool>(node["window"]);
            if (subjects != 1) {
                in_.Fail(node, "a trace column shows one variable, gauge element, slot or window");
                return;
            }
            if (node["label"] && !in_.Name(node["label"], "the label", label)) return;
            if (node["variable"]) {
                if (!Only(node, context + " of a variable", {"variable", "unit", "label"})) return;
                if (!TraceVariable(node["variable"], column)) return;
                if (node["unit"]) {
                    std::string unitName;
                    if (!in_.Scalar(node["unit"], "the unit", unitName)) return;
                    const auto unit = FindUnit(column.variable.name, unitName);
                    if (!unit) {
                        in_.Fail(node["unit"], "unknown unit \"" + unitName + "\" for " + column.variable.name);
                        return;
                    }
                    column.unit = *unit;
                    column.header = column.variable.name + " [" + unitName + "]";
                }
            } else if (node["gauge"]) {
                if (!Only(node, context + " of a gauge element", {"gauge", "element", "text", "label"}) ||
                    !Required(node, "element", context))
                    return;
                bool text = false;
                if (!in_.Name(node["gauge"], "the gauge", column.gauge) ||
                    !in_.Int(node["element"], "the element number", 1, kLargestNumber, column.element) ||
                    (node["text"] && !in_.Bool(node["text"], "text", text)))
                    return;
                column.kind = text ? TraceColumn::Kind::kText : TraceColumn::Kind::kValue;
                column.header = column.gauge + " #" + std::to_string(column.element) + (text ? " text" : "");
            } else if (node["slot"]) {
                if (!Only(node, context + " of a slot", {"slot", "label"}) ||
                    !in_.Int(node["slot"], "the slot number", 0, kSlotCount - 1, column.slot))
                    return;
                column.kind = TraceColumn::Kind::kSlot;
                column.header = "slot " + std::to_string(column.slot);
            } else {
                long long window = 0;
                if (!Only(node, context + " of a window", {"window", "label"}) ||
                    !in_.Integer(node["window"], "the window number", 0, UINT32_MAX, window))
                    return;
                column.kind = TraceColumn::Kind::kWindow;
                column.window = static_cast<std::uint32_t>(window);
                column.header = "window " + std::to_string(window);
            }
        }
        if (!label.empty()) column.header = label;
        scenario_.trace.push_back(column);
    }

    bool TraceVariable(const YAML::Node& node, TraceColumn& column) {
        std::string name;
        if (!in_.Name(node, "the variable", name)) return false;
        const auto variable = FindScriptedVariable(name);
        if (!variable) {
            in_.Fail(node,
                     "unknown simulator variable \"" + name + "\" (known: " + Join(ScriptedVariableNames()) + ")");
            return false;
        }
        column.kind = TraceColumn::Kind::kVariable;
        column.variable = *variable;
        column.header = name;
        return true;
    }

    bool Required(const YAML::Node& node, const char* key, const std::string& context) {
        if (node[key]) return true;
        in_.Fail(node, context + " needs \"" + key + "\"");
        return false;
    }
    // Keys that belong to another kind of entry than the one this is.
    bool Only(const YAML::Node& node, const std::string& context, std::initializer_list<const char*> allowed) {
        for (const auto& entry : node) {
            const std::string key = entry.first.Scalar();
            if (std::none_of(allowed.begin(), allowed.end(), [&](const char* name) { return key == name; })) {
                in_.Fail(entry.first, "\"" + key + "\" does not belong in " + context);
                return false;
            }
        }
        return true;
    }

    // The run lasts as long as the file says, or up to the last thing it
    // names; nothing that happens at a moment may lie beyond the end.
    void SettleDuration() {
        if (!durationGiven_) {
            double last = 0.0;
            for (const auto& track : scenario_.slots) last = std::max(last, track.steps.back().time);
            for (const auto& event : scenario_.mouse) last = std::max(last, event.time + event.holdSeconds);
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
            for (const auto& step : track.steps)
                check(step.time, step.where, "the step of slot " + std::to_string(track.slot));
        for (const auto& event : scenario_.mouse) check(event.time, event.where, "the mouse event");
        for (const auto& picture : scenario_.pictures) check(picture.time, picture.where, "the picture");
        for (const auto& expect : scenario_.expectations)
            check(expect.until, expect.where,
                  expect.span == Expectation::Span::kAt ? "the expectation" : "the end of the expectation's interval");
    }

    bool AfterEnd(double time) const {
        if (time <= scenario_.duration) return false;
        // At least one frame per second: a second later is always a later frame.
        if (time > scenario_.duration + 1.0) return true;
        return scenario_.FrameAt(time) > scenario_.LastFrame();
    }

    static constexpr int kSlotCount = 116;
    static constexpr int kLargestNumber = 1'000'000;
    static constexpr long long kLargestPixelCount = 1LL << 28;  // a side of 16384 pixels squared
    static constexpr double kLowestFrameRate = 1.0;
    static constexpr double kHighestFrameRate = 1000.0;

    Reader in_;
    Scenario scenario_;
    bool durationGiven_ = false;
    Location durationWhere_;
};

}  // namespace

// Built member by member: GCC 12 warns falsely about nested brace
// initialisers of these strings at -O2.
Problem ProblemAt(const std::string& file, int line, std::string what) {
    Problem problem;
    problem.where.file = file;
    problem.where.line = line;
    problem.what = std::move(what);
    return problem;
}

ParseResult ParseScenario(const std::string& text, const std::string& fileName) {
    ParseResult result;
    result.scenario.file = fileName;
    std::vector<YAML::Node> documents;
    try {
        documents = YAML::LoadAll(text);
    } catch (const YAML::Exception& error) {
        result.problems.push_back(
            ProblemAt(fileName, error.mark.line >= 0 ? error.mark.line + 1 : 0, "not valid YAML: " + error.msg));
        return result;
    }
    if (documents.empty() || documents.front().IsNull()) {
        result.problems.push_back(ProblemAt(fileName, 0, "the file holds no scenario"));
        return result;
    }
    if (documents.size() > 1) {
        result.problems.push_back(
            ProblemAt(fileName, documents[1].Mark().line + 1, "a scenario file holds one document"));
        return result;
    }
    ScenarioReader reader(fileName, result.problems);
    result.scenario = reader.Read(documents.front());
    return result;
}

ParseResult LoadScenario(const std::string& path, const std::string& fileName) {
    const std::string name = fileName.empty() ? path : fileName;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        ParseResult result;
        result.scenario.file = name;
        result.problems.push_back(ProblemAt(name, 0, "cannot open the scenario file"));
        return result;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return ParseScenario(text.str(), name);
}

}  // namespace scenario
