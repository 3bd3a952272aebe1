// A scripted flight in one model, whichever file it was read from (the YAML
// format is described in README.md beside this file; Windows plays it from
// JSON): the run's settings, the simulator variables over time, the sibling
// slots, mouse events, picture moments, expectations and the columns of the
// trace. The readers check everything as they read, so that a faulty file is
// refused with its line before any frame runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "sim/variable_catalogue.h"

namespace scenario {

// Where something was written: the file and its line, counted from 1.
struct Location {
    std::string file;
    int line = 0;

    bool operator==(const Location&) const = default;
};

// Numbers in messages, the trace and the summary: "%.10g", and seconds as
// "12.500 s".
std::string FormatNumber(double value);
std::string FormatSeconds(double value);

// "file:line: what".
struct Problem {
    Location where;
    std::string what;
    std::string ToString() const;

    bool operator==(const Problem&) const = default;
};

// A value from some time on.
struct Key {
    double time = 0.0;
    double value = 0.0;    // raw units; the transponder's digits as their integer
    double written = 0.0;  // as the file gives it, in the track's unit
    Location where;

    bool operator==(const Key&) const = default;
};

struct VariableTrack {
    const variables::Variable* variable = nullptr;
    variables::Unit unit = variables::kRaw;
    bool step = false;      // held until the next key instead of interpolated
    std::vector<Key> keys;  // times never decreasing; two at one time make a jump
    Location where;

    // Linear between keys (or the last key's value when stepped); the first
    // key's value before it and the last key's after it. At a time shared by
    // two keys the later one counts.
    double ValueAt(double time) const;
    // Index of the key in force at a time; -1 before the first.
    int KeyAt(double time) const;

    bool operator==(const VariableTrack&) const = default;
};

struct SlotStep {
    double time = 0.0;
    double value = 0.0;
    bool busy = false;  // the slot's guard held, as a sibling in mid-access
    Location where;

    bool operator==(const SlotStep&) const = default;
};

struct SlotTrack {
    int slot = 0;
    std::vector<SlotStep> steps;  // times never decreasing

    bool operator==(const SlotTrack&) const = default;
};

struct MouseEvent {
    double time = 0.0;
    std::string gauge;
    int area = 0;  // child area from 1; 0 when a point is given
    int x = 0, y = 0;
    bool right = false;
    std::optional<double> holdSeconds;  // pressed, repeated every frame, released this much later
    Location where;

    bool operator==(const MouseEvent&) const = default;
};

// A picture moment: every shown window is drawn. With a reference, the
// picture of one window is compared with that PNG (a path relative to the
// scenario file's folder): it fails when more than `tolerance` pixels differ
// by more than `threshold`, a colour distance from 0 to 1 below which the
// noise of anti-aliased edges stays.
struct Picture {
    static constexpr double kDefaultThreshold = 0.1;

    double time = 0.0;
    std::string name;
    std::string reference;                // empty: no comparison
    std::optional<std::uint32_t> window;  // the window compared; default the layout's first
    long long tolerance = 0;              // pixels
    double threshold = kDefaultThreshold;
    Location where;

    bool operator==(const Picture&) const = default;
};

// What a scenario reads: a simulator variable in a unit, an element of a
// gauge (its value or its text), a shared slot, or a panel window.
struct VariableSubject {
    const variables::Variable* variable = nullptr;
    variables::Unit unit = variables::kRaw;
    bool operator==(const VariableSubject&) const = default;
};
struct ElementSubject {
    std::string gauge;
    int element = 0;  // from 1, the background
    bool text = false;
    bool operator==(const ElementSubject&) const = default;
};
struct SlotSubject {
    int slot = 0;
    bool operator==(const SlotSubject&) const = default;
};
struct WindowSubject {
    std::uint32_t window = 0;
    bool operator==(const WindowSubject&) const = default;
};
using Subject = std::variant<VariableSubject, ElementSubject, SlotSubject, WindowSubject>;

// The visitor of a subject or an expected made of one lambda for each alternative.
template <typename... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
// Clang 14 deduces an aggregate's template arguments only with a guide.
template <typename... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

// The subject as one text, by which a report marks each expectation on the
// plot of the same thing: "variable:fuel", "gauge:ITV#3", "text:test#2",
// "slot:10", "window:11241".
std::string SubjectId(const Subject& subject);
// A trace column's header unless it is labelled: "fuel", "ground_speed [km/h]",
// "ITV #3", "test #2 text", "slot 10", "window 11241".
std::string DefaultHeader(const Subject& subject);

// What is expected of a subject: a value within a tolerance (an element or a
// slot), a text, a lamp lit or dark, a window shown or hidden.
struct NearValue {
    double value = 0.0;
    double tolerance = 0.0;
    bool operator==(const NearValue&) const = default;
};
struct SameText {
    std::string text;
    bool operator==(const SameText&) const = default;
};
struct LampLit {
    bool lit = false;
    bool operator==(const LampLit&) const = default;
};
struct WindowShown {
    bool shown = false;
    bool operator==(const WindowShown&) const = default;
};
using Expected = std::variant<NearValue, SameText, LampLit, WindowShown>;

struct Expectation {
    // At one frame, at every frame of an interval, or at some frame of it.
    enum class Span { kAt, kDuring, kWithin };
    Span span = Span::kAt;
    double time = 0.0;   // the interval's start for during and within
    double until = 0.0;  // the interval's end, as late as time or later; time again for at
    Subject subject;
    Expected expected;
    Location where;

    // What is expected, for messages: "Messages element 2 value 0 (±1e-06)".
    std::string Describe() const;
    // When: "at 2.500 s", "during 1.000 s to 2.000 s", "within 1.000 s to 2.000 s".
    std::string DescribeWhen() const;

    bool operator==(const Expectation&) const = default;
};

struct TraceColumn {
    Subject subject;
    std::string header;
    Location where;

    bool operator==(const TraceColumn&) const = default;
};

struct Scenario {
    static constexpr double kDefaultFrameRate = 18.0;
    static constexpr double kDefaultTolerance = 1e-6;
    static constexpr long long kMaxFrames = 10'000'000;

    std::string file;
    std::string name;
    std::string description;
    double frameRate = kDefaultFrameRate;
    double duration = 0.0;  // the last time the file names when not given
    bool realTime = false;

    std::vector<VariableTrack> variables;
    std::vector<SlotTrack> slots;
    std::vector<MouseEvent> mouse;
    std::vector<Picture> pictures;
    std::vector<Expectation> expectations;
    std::vector<TraceColumn> trace;
    double traceInterval = 0.0;  // 0: a row every frame

    // Frame k runs at simulator time k / frameRate; time 0 is the moment
    // after loading, before the first frame. A time belongs to the nearest
    // frame.
    long long FrameAt(double time) const;
    double TimeOf(long long frame) const { return static_cast<double>(frame) / frameRate; }
    long long LastFrame() const { return FrameAt(duration); }

    bool operator==(const Scenario&) const = default;
};

// A scenario as a reader found it (scenario_yaml.h, scenario_json.h).
struct ParseResult {
    Scenario scenario;
    std::vector<Problem> problems;  // empty when the file was accepted
    bool ok() const { return problems.empty(); }
};

}  // namespace scenario
