// The parts of a scenario that belong to it whichever file it was read from:
// its messages and numbers in them, its subjects' names, the value of a
// variable at a time and the frame of a time.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "scenario/scenario.h"

namespace scenario {

std::string FormatNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

std::string FormatSeconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", value);
    return text;
}

std::string Problem::ToString() const {
    std::ostringstream text;
    text << where.file;
    if (where.line > 0) text << ":" << where.line;
    text << ": " << what;
    return text.str();
}

double VariableTrack::ValueAt(double time) const {
    if (keys.empty()) return 0.0;
    const int at = KeyAt(time);
    if (at < 0) return keys.front().value;
    const std::size_t index = static_cast<std::size_t>(at);
    if (step || index + 1 == keys.size()) return keys[index].value;
    const Key& from = keys[index];
    const Key& to = keys[index + 1];
    const double fraction = (time - from.time) / (to.time - from.time);
    return from.value + (to.value - from.value) * fraction;
}

int VariableTrack::KeyAt(double time) const {
    // The last key at or before the time.
    const auto after =
        std::upper_bound(keys.begin(), keys.end(), time, [](double t, const Key& key) { return t < key.time; });
    return static_cast<int>(after - keys.begin()) - 1;
}

long long Scenario::FrameAt(double time) const { return std::llround(time * frameRate); }

std::string SubjectId(const Subject& subject) {
    return std::visit(
        Overloaded{
            [](const VariableSubject& v) { return "variable:" + std::string(v.variable->name); },
            [](const ElementSubject& e) {
                return (e.text ? "text:" : "gauge:") + e.gauge + "#" + std::to_string(e.element);
            },
            [](const SlotSubject& s) { return "slot:" + std::to_string(s.slot); },
            [](const WindowSubject& w) { return "window:" + std::to_string(w.window); },
        },
        subject);
}

std::string DefaultHeader(const Subject& subject) {
    return std::visit(
        Overloaded{
            [](const VariableSubject& v) {
                const std::string name = v.variable->name;
                return v.unit == variables::kRaw ? name : name + " [" + v.unit.name + "]";
            },
            [](const ElementSubject& e) {
                return e.gauge + " #" + std::to_string(e.element) + (e.text ? " text" : "");
            },
            [](const SlotSubject& s) { return "slot " + std::to_string(s.slot); },
            [](const WindowSubject& w) { return "window " + std::to_string(w.window); },
        },
        subject);
}

std::string Expectation::Describe() const {
    std::ostringstream text;
    if (const auto* element = std::get_if<ElementSubject>(&subject))
        text << element->gauge << " element " << element->element;
    else if (const auto* slot = std::get_if<SlotSubject>(&subject))
        text << "slot " << slot->slot << " =";
    else if (const auto* window = std::get_if<WindowSubject>(&subject))
        text << "panel window " << window->window;
    std::visit(Overloaded{
                   [&](const NearValue& near) {
                       text << (std::holds_alternative<SlotSubject>(subject) ? " " : " value ")
                            << FormatNumber(near.value) << " (±" << FormatNumber(near.tolerance) << ")";
                   },
                   [&](const SameText& same) { text << " text \"" << same.text << "\""; },
                   [&](const LampLit& lamp) { text << (lamp.lit ? " lit" : " dark"); },
                   [&](const WindowShown& window) { text << (window.shown ? " shown" : " hidden"); },
               },
               expected);
    return text.str();
}

std::string Expectation::DescribeWhen() const {
    switch (span) {
        case Span::kAt:
            break;
        case Span::kDuring:
            return "during " + FormatSeconds(time) + " to " + FormatSeconds(until);
        case Span::kWithin:
            return "within " + FormatSeconds(time) + " to " + FormatSeconds(until);
    }
    return "at " + FormatSeconds(time);
}

}  // namespace scenario
