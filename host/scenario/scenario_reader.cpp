#include "scenario/scenario_reader.h"

#include <fstream>
#include <sstream>

#include "scenario/scenario_yaml.h"
#include "state/shared_slots.h"

namespace scenario {

Scenario ScenarioReader::Read(const YAML::Node& root) {
    in_.IsMapWithKeys(root, "the scenario",
                      {"name", "description", "settings", "variables", "slots", "mouse", "pictures", "expect", "trace"});
    if (!root.IsMap()) return std::move(scenario_);
    if (root["name"]) in_.Scalar(root["name"], "the name", scenario_.name);
    if (root["description"]) in_.Scalar(root["description"], "the description", scenario_.description);
    if (root["settings"]) ReadSettings(root["settings"]);
    if (root["variables"]) ReadVariables(root["variables"]);
    if (root["slots"]) ReadSlots(root["slots"]);
    if (root["mouse"]) in_.ForEach(root["mouse"], "mouse", [&](const YAML::Node& node) { ReadMouse(node); });
    if (root["pictures"])
        in_.ForEach(root["pictures"], "pictures", [&](const YAML::Node& node) { ReadPicture(node); });
    if (root["expect"]) in_.ForEach(root["expect"], "expect", [&](const YAML::Node& node) { ReadExpectation(node); });
    if (root["trace"]) ReadTrace(root["trace"]);
    SettleDuration();
    return std::move(scenario_);
}

void ScenarioReader::ReadSettings(const YAML::Node& node) {
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

// A value of a variable in its unit, or its transponder digits.
bool ScenarioReader::VariableValue(const YAML::Node& node, const VariableTrack& track, Key& key) {
    const std::string name = track.variable->name;
    if (track.variable->digits()) {
        std::string text;
        if (!in_.Scalar(node, name, text)) return false;
        const auto digits = variables::ParseTransponderDigits(text);
        if (!digits) {
            in_.Fail(node, name + " takes four digits 0 to 7, got \"" + text + "\"");
            return false;
        }
        key.value = key.written = *digits;
        return true;
    }
    if (!in_.Real(node, "the value of " + name, key.written)) return false;
    key.value = key.written * track.unit.toRaw;
    return true;
}

void ScenarioReader::ReadKeys(const YAML::Node& list, VariableTrack& track) {
    const std::string name = track.variable->name;
    if (!list.IsSequence() || list.size() == 0) {
        in_.Fail(list, "the keys of " + name + " must be a list of [time, value] pairs");
        return;
    }
    for (const auto& pair : list) {
        YAML::Node time, value;
        Key key;
        key.where = in_.At(pair, track.where);
        if (!in_.Pair(pair, "a key of " + name, time, value)) continue;
        if (!in_.Time(time, key.time) || !VariableValue(value, track, key)) continue;
        if (!track.keys.empty() && key.time < track.keys.back().time) {
            in_.Fail(pair, "the keys of " + name + " must be in time order: " + FormatNumber(key.time) +
                               " s comes after " + FormatNumber(track.keys.back().time) + " s");
            continue;
        }
        track.keys.push_back(key);
    }
}

const variables::Variable* ScenarioReader::KnownVariable(const YAML::Node& node, const std::string& name) {
    // By name only: a token number would make every misspelt number "known".
    const variables::Variable* variable = variables::Find(name);
    if (variable == nullptr)
        in_.Fail(node, "unknown simulator variable \"" + name + "\" (known: " + Join(variables::Names()) + ")");
    return variable;
}

void ScenarioReader::ReadVariables(const YAML::Node& node) {
    if (!node.IsMap()) {
        in_.Fail(node, "variables must map each variable's name to its value or keys");
        return;
    }
    std::set<std::string> seen;
    for (const auto& entry : node) {
        const std::string name = entry.first.Scalar();
        VariableTrack track;
        track.where = in_.At(entry.first);
        track.variable = KnownVariable(entry.first, name);
        if (track.variable == nullptr) continue;
        if (!seen.insert(name).second) {
            in_.Fail(entry.first, "variable " + name + " is given twice");
            continue;
        }
        track.step = track.variable->digits();
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

bool ScenarioReader::ReadUnitAndInterpolation(const YAML::Node& body, VariableTrack& track) {
    const std::string name = track.variable->name;
    if (body["unit"]) {
        std::string unitName;
        if (!in_.Scalar(body["unit"], "the unit of " + name, unitName)) return false;
        const auto unit = variables::FindUnit(*track.variable, unitName);
        if (!unit) {
            std::vector<std::string> known;
            for (const variables::Unit& candidate : variables::UnitsOf(*track.variable))
                known.emplace_back(candidate.name);
            in_.Fail(body["unit"], "unknown unit \"" + unitName + "\" for " + name + " (known: " + Join(known) + ")");
            return false;
        }
        track.unit = *unit;
    }
    if (body["interpolate"]) {
        std::string mode;
        if (!in_.Scalar(body["interpolate"], "interpolate", mode)) return false;
        if (mode == "step") {
            track.step = true;
        } else if (mode == "linear" && !track.variable->digits()) {
            track.step = false;
        } else {
            in_.Fail(body["interpolate"], "interpolate must be " +
                                              std::string(track.variable->digits() ? "step" : "linear or step") +
                                              " for " + name + ", got \"" + mode + "\"");
            return false;
        }
    }
    return true;
}

void ScenarioReader::ReadConstant(const YAML::Node& value, VariableTrack& track) {
    Key key;
    key.where = in_.At(value, track.where);
    if (VariableValue(value, track, key)) track.keys.push_back(key);
}

bool ScenarioReader::SlotValue(const YAML::Node& node, int slot, SlotStep& step) {
    if (node.IsScalar() && node.Scalar() == "busy") {
        step.busy = true;
        return true;
    }
    return in_.Real(node, "the value of slot " + std::to_string(slot) + " (a number or busy)", step.value);
}

void ScenarioReader::ReadSlots(const YAML::Node& node) {
    if (!node.IsMap()) {
        in_.Fail(node, "slots must map each slot number to its value or its steps");
        return;
    }
    std::set<int> seen;
    for (const auto& entry : node) {
        SlotTrack track;
        if (!in_.Int(entry.first, "a slot number", 0, shared_slot::kCount - 1, track.slot)) continue;
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

void ScenarioReader::ReadMouse(const YAML::Node& node) {
    MouseEvent event;
    event.where = in_.At(node);
    if (!in_.IsMapWithKeys(node, "a mouse event", {"at", "gauge", "area", "point", "button", "hold"})) return;
    if (!in_.Required(node, "at", "a mouse event") || !in_.Required(node, "gauge", "a mouse event")) return;
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
        double seconds = 0.0;
        ok = in_.FiniteReal(node["hold"], "the time held in seconds", seconds, 0.0) && ok;
        event.holdSeconds = seconds;
        if (event.right) {
            in_.Fail(node["hold"], "only the left button is held");
            ok = false;
        }
    }
    if (ok) scenario_.mouse.push_back(event);
}

void ScenarioReader::ReadPicture(const YAML::Node& node) {
    Picture picture;
    picture.where = in_.At(node);
    if (!in_.IsMapWithKeys(node, "a picture", {"at", "name", "reference", "window", "tolerance", "threshold"})) return;
    if (!in_.Required(node, "at", "a picture") || !in_.Required(node, "name", "a picture")) return;
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
        ok = in_.Integer(node["tolerance"], "the tolerance in pixels", 0, kLargestPixelCount, picture.tolerance) && ok;
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

namespace {

// Built member by member: GCC 12 warns falsely about nested brace
// initialisers of these strings at -O2.
Problem ProblemAt(const std::string& file, int line, std::string what) {
    Problem problem;
    problem.where.file = file;
    problem.where.line = line;
    problem.what = std::move(what);
    return problem;
}

}  // namespace

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
