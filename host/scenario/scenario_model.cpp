// The parts of a scenario that belong to it whichever file it was read from:
// its messages and numbers in them, the value of a variable at a time and the frame of a time.
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

std::string Expectation::Describe() const {
    std::ostringstream text;
    switch (kind) {
        case Kind::kValue:
            text << gauge << " element " << element << " value " << FormatNumber(value) << " (±" << FormatNumber(tolerance) << ")";
            break;
        case Kind::kText:
            text << gauge << " element " << element << " text \"" << this->text << "\"";
            break;
        case Kind::kLamp:
            text << gauge << " element " << element << (lit ? " lit" : " dark");
            break;
        case Kind::kSlot:
            text << "slot " << slot << " = " << FormatNumber(value) << " (±" << FormatNumber(tolerance) << ")";
            break;
        case Kind::kWindow:
            text << "panel window " << window << (shown ? " shown" : " hidden");
            break;
    }
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
