#include "web/scenario_recorder.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <sstream>

namespace web {
namespace {

constexpr int kSlotCount = 116;
// A button still held when recording stopped is released this long after the end: never, in the replay.
constexpr double kBeyondTheEnd = 2.0;

// The shortest text that reads back as the same double, as YAML writes the odd ones.
std::string Number(double value) {
    if (std::isnan(value)) return ".nan";
    if (std::isinf(value)) return value > 0 ? ".inf" : "-.inf";
    char text[40];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80         ? 1
                                   : (lead >> 5) == 6  ? 2
                                   : (lead >> 4) == 14 ? 3
                                   : (lead >> 3) == 30 ? 4
                                                       : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

// A double-quoted YAML scalar; nothing for text that is not UTF-8, which YAML cannot hold as it is.
std::optional<std::string> Quoted(std::string_view text) {
    if (!IsUtf8(text)) return std::nullopt;
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string QuotedOrNote(std::string_view text) { return Quoted(text).value_or("\"(not UTF-8)\""); }

bool IsZero(double value) { return value == 0.0 && !std::signbit(value); }

}  // namespace

ScenarioRecorder::ScenarioRecorder(double frameRate, std::string title, std::string description)
    : frameRate_(frameRate), title_(std::move(title)), description_(std::move(description)) {}

std::string ScenarioRecorder::Time(long long step) const { return Number(static_cast<double>(step) / frameRate_); }

void ScenarioRecorder::Saw(long long step) {
    lastStep_ = std::max(lastStep_, step);
    ++events_;
}

void ScenarioRecorder::StartWith(const scenario::ScriptedVariable& variable, double raw) {
    if (variableKeys_.emplace(variable.name, std::vector<Key>{{0, raw}}).second) variables_.push_back(variable);
}

void ScenarioRecorder::StartWithSlot(int slot, double value) { slotKeys_[slot] = {{0, value}}; }

void ScenarioRecorder::Variable(long long step, const scenario::ScriptedVariable& variable, double raw) {
    StartWith(variable, 0.0);
    variableKeys_[variable.name].push_back({step, raw});
    Saw(step);
}

void ScenarioRecorder::Slot(long long step, int slot, double value) {
    auto& keys = slotKeys_[slot];
    if (keys.empty()) keys.push_back({0, 0.0});
    keys.push_back({step, value});
    slotTouched_[slot] = true;
    Saw(step);
}

void ScenarioRecorder::Press(long long step, const std::string& gauge, int x, int y, int area, bool right) {
    clicks_.push_back({step, gauge, x, y, area, right, right ? step : -1});
    Saw(step);
}

void ScenarioRecorder::Release(long long step) {
    for (auto click = clicks_.rbegin(); click != clicks_.rend(); ++click)
        if (!click->right && click->released < 0) {
            click->released = step;
            Saw(step);
            return;
        }
}

void ScenarioRecorder::Expect(long long step, std::vector<GaugeReading> readings, const std::map<int, double>& slots) {
    for (GaugeReading& reading : readings) {
        if (reading.isText && !Quoted(reading.text)) {
            Note("at " + Time(step) + " s element " + std::to_string(reading.element) + " of " + reading.gauge +
                 " showed a text that is not UTF-8; it is not expected");
            continue;
        }
        expect_.push_back({step, std::move(reading), false, 0});
        ++expectations_;
    }
    for (const auto& [slot, value] : slots) {
        Expectation expectation{step, {}, true, slot};
        expectation.reading.value = value;
        expect_.push_back(std::move(expectation));
        ++expectations_;
    }
    lastStep_ = std::max(lastStep_, step);
}

void ScenarioRecorder::Note(const std::string& note) { notes_.push_back(note); }

std::string ScenarioRecorder::Yaml(long long endStep) const {
    const long long end = std::max(endStep, lastStep_);
    std::ostringstream out;
    out << "# Recorded on the live panel (avrion-panel); avrion-scenario plays it back.\n";
    for (const std::string& note : notes_) out << "# " << note << "\n";
    std::string description = description_;
    for (const std::string& note : notes_) description += (description.empty() ? "" : " ") + note + ".";
    out << "name: " << QuotedOrNote(title_) << "\n";
    if (!description.empty()) out << "description: " << QuotedOrNote(description) << "\n";
    out << "settings:\n  frame_rate: " << Number(frameRate_) << "\n  duration: " << Time(end) << "\n";

    std::string variables;
    for (const scenario::ScriptedVariable& variable : variables_) {
        const std::vector<Key>& keys = variableKeys_.at(variable.name);
        if (keys.size() == 1 && IsZero(keys.front().value)) continue;
        std::string line = "  " + variable.name + ": {" + (variable.digits ? "" : "interpolate: step, ") + "keys: [";
        bool digitsHold = true;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            line += (i ? ", [" : "[") + Time(keys[i].step) + ", ";
            if (variable.digits) {
                const std::string digits = scenario::FormatTransponderDigits(static_cast<unsigned>(keys[i].value));
                digitsHold = digitsHold && scenario::ParseTransponderDigits(digits).has_value();
                line += "\"" + digits + "\"]";
            } else {
                line += Number(keys[i].value) + "]";
            }
        }
        if (digitsHold)
            variables += line + "]}\n";
        else
            out << "# " << variable.name << " held a value that is not four digits 0 to 7; it is left out\n";
    }
    if (!variables.empty()) out << "variables:\n" << variables;

    std::ostringstream slots;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const auto found = slotKeys_.find(slot);
        if (found == slotKeys_.end()) continue;
        const std::vector<Key>& keys = found->second;
        const bool always = std::find(std::begin(kAlwaysStartedSlots), std::end(kAlwaysStartedSlots), slot) !=
                            std::end(kAlwaysStartedSlots);
        if (!always && !slotTouched_.count(slot) && IsZero(keys.front().value)) continue;
        slots << "  " << slot << ": [";
        for (std::size_t i = 0; i < keys.size(); ++i)
            slots << (i ? ", " : "") << "[" << Time(keys[i].step) << ", " << Number(keys[i].value) << "]";
        slots << "]\n";
    }
    if (!slots.str().empty()) out << "slots:\n" << slots.str();

    if (!clicks_.empty()) {
        out << "mouse:\n";
        for (const Click& click : clicks_) {
            out << "  - {at: " << Time(click.step) << ", gauge: " << QuotedOrNote(click.gauge) << ", point: ["
                << click.x << ", " << click.y << "]";
            if (click.right)
                out << ", button: right";
            else if (click.released >= 0)
                out << ", hold: " << Number(static_cast<double>(click.released - click.step) / frameRate_);
            else
                out << ", hold: " << Number(static_cast<double>(end - click.step) / frameRate_ + kBeyondTheEnd);
            out << "}  # area " << click.area << (click.right || click.released >= 0 ? "" : ", still held at the end")
                << "\n";
        }
    }

    if (!expect_.empty()) {
        out << "expect:\n";
        for (const Expectation& expectation : expect_) {
            out << "  - {at: " << Time(expectation.step) << ", ";
            if (expectation.isSlot)
                out << "slot: " << expectation.slot << ", value: " << Number(expectation.reading.value) << "}\n";
            else if (expectation.reading.isText)
                out << "gauge: " << QuotedOrNote(expectation.reading.gauge)
                    << ", element: " << expectation.reading.element
                    << ", text: " << QuotedOrNote(expectation.reading.text) << "}\n";
            else
                out << "gauge: " << QuotedOrNote(expectation.reading.gauge)
                    << ", element: " << expectation.reading.element << ", value: " << Number(expectation.reading.value)
                    << "}\n";
        }
    }
    return out.str();
}

}  // namespace web
