#include "web/scenario_recorder.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "scenario/scenario_yaml.h"

namespace web {
namespace {

// A button still held when recording stopped is released this long after the end: never, in the replay.
constexpr double kBeyondTheEnd = 2.0;

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

// YAML holds UTF-8 only.
std::string Utf8OrNote(const std::string& text) { return IsUtf8(text) ? text : "(not UTF-8)"; }

bool IsZero(double value) { return value == 0.0 && !std::signbit(value); }

std::string Shortest(double value) {
    char text[40];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

}  // namespace

ScenarioRecorder::ScenarioRecorder(double frameRate, std::string title, std::string description)
    : frameRate_(frameRate), title_(std::move(title)), description_(std::move(description)) {}

void ScenarioRecorder::Saw(long long step) {
    lastStep_ = std::max(lastStep_, step);
    ++events_;
}

void ScenarioRecorder::StartWith(const variables::Variable& variable, double raw) {
    if (variableKeys_.emplace(&variable, std::vector<Key>{{0, raw}}).second) variables_.push_back(&variable);
}

void ScenarioRecorder::StartWithSlot(int slot, double value) { slotKeys_[slot] = {{0, value}}; }

void ScenarioRecorder::Variable(long long step, const variables::Variable& variable, double raw) {
    StartWith(variable, 0.0);
    variableKeys_[&variable].push_back({step, raw});
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
        if (reading.isText && !IsUtf8(reading.text)) {
            Note("at " + Shortest(Time(step)) + " s element " + std::to_string(reading.element) +
                 " of " + reading.gauge + " showed a text that is not UTF-8; it is not expected");
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

scenario::Scenario ScenarioRecorder::Recorded(long long endStep) const {
    const long long end = std::max(endStep, lastStep_);
    scenario::Scenario recorded;
    recorded.name = Utf8OrNote(title_);
    recorded.description = description_;
    for (const std::string& note : notes_)
        recorded.description += (recorded.description.empty() ? "" : " ") + note + ".";
    recorded.description = Utf8OrNote(recorded.description);
    recorded.frameRate = frameRate_;
    recorded.duration = Time(end);

    for (const variables::Variable* variable : variables_) {
        const std::vector<Key>& keys = variableKeys_.at(variable);
        if (keys.size() == 1 && IsZero(keys.front().value)) continue;
        scenario::VariableTrack track;
        track.variable = variable;
        track.step = true;
        bool digitsHold = true;
        for (const Key& key : keys) {
            track.keys.push_back({Time(key.step), key.value, key.value, {}});
            if (variable->digits())
                digitsHold = digitsHold && variables::ParseTransponderDigits(
                                               variables::FormatTransponderDigits(static_cast<unsigned>(key.value)));
        }
        if (digitsHold) recorded.variables.push_back(std::move(track));
    }

    for (const auto& [slot, keys] : slotKeys_) {
        const bool always = std::find(std::begin(kAlwaysStartedSlots), std::end(kAlwaysStartedSlots), slot) !=
                            std::end(kAlwaysStartedSlots);
        if (!always && !slotTouched_.count(slot) && IsZero(keys.front().value)) continue;
        scenario::SlotTrack track{slot, {}};
        for (const Key& key : keys) track.steps.push_back({Time(key.step), key.value, false, {}});
        recorded.slots.push_back(std::move(track));
    }

    for (const Click& click : clicks_) {
        scenario::MouseEvent event;
        event.time = Time(click.step);
        event.gauge = Utf8OrNote(click.gauge);
        event.x = click.x;
        event.y = click.y;
        event.right = click.right;
        if (!click.right)
            event.holdSeconds = click.released >= 0 ? static_cast<double>(click.released - click.step) / frameRate_
                                                    : static_cast<double>(end - click.step) / frameRate_ + kBeyondTheEnd;
        recorded.mouse.push_back(std::move(event));
    }

    for (const Expectation& expectation : expect_) {
        scenario::Expectation expect;
        expect.time = expect.until = Time(expectation.step);
        const scenario::NearValue value{expectation.reading.value, scenario::Scenario::kDefaultTolerance};
        if (expectation.isSlot) {
            expect.subject = scenario::SlotSubject{expectation.slot};
            expect.expected = value;
        } else {
            const GaugeReading& reading = expectation.reading;
            expect.subject = scenario::ElementSubject{Utf8OrNote(reading.gauge), reading.element, reading.isText};
            if (reading.isText)
                expect.expected = scenario::SameText{reading.text};
            else
                expect.expected = value;
        }
        recorded.expectations.push_back(std::move(expect));
    }
    return recorded;
}

std::vector<std::string> ScenarioRecorder::MouseComments() const {
    std::vector<std::string> comments;
    for (const Click& click : clicks_)
        comments.push_back("area " + std::to_string(click.area) +
                           (click.right || click.released >= 0 ? "" : ", still held at the end"));
    return comments;
}

std::string ScenarioRecorder::Yaml(long long endStep) const {
    const scenario::Scenario recorded = Recorded(endStep);
    scenario::YamlComments comments;
    comments.heading.push_back("Recorded on the live panel (avrion-panel); avrion-scenario plays it back.");
    comments.heading.insert(comments.heading.end(), notes_.begin(), notes_.end());
    for (const variables::Variable* variable : variables_) {
        const std::vector<Key>& keys = variableKeys_.at(variable);
        const bool left = std::none_of(recorded.variables.begin(), recorded.variables.end(),
                                       [&](const scenario::VariableTrack& track) { return track.variable == variable; });
        if (left && !(keys.size() == 1 && IsZero(keys.front().value)))
            comments.heading.push_back(std::string(variable->name) +
                                       " held a value that is not four digits 0 to 7; it is left out");
    }
    comments.mouse = MouseComments();
    return scenario::ScenarioToYaml(recorded, comments);
}

}  // namespace web
