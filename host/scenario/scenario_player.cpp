#include "scenario/scenario_player.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <numeric>

#include "loader/module_host.h"
#include "sim/gauge_access.h"
#if !defined(_WIN32)
#include "sim/host_desktop.h"
#endif
#include "sim/sibling_modules.h"
#include "sim/simulator.h"

namespace scenario {
namespace {

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

std::string Where(const Location& where) { return where.file + ":" + std::to_string(where.line); }

// Answers other than numbers that a failed "within" lists.
constexpr std::size_t kAnswersListed = 4;

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// Indices of items in the order of the frames they belong to, file order
// kept among those of one frame.
template <typename Item>
std::vector<std::size_t> ByFrame(const Scenario& scenario, const std::vector<Item>& items) {
    std::vector<std::size_t> order(items.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return scenario.FrameAt(items[a].time) < scenario.FrameAt(items[b].time);
    });
    return order;
}

}  // namespace

ScenarioPlayer::ScenarioPlayer(const Scenario& scenario, ModuleHost& host, Simulator& simulator,
                               SiblingModules& siblings, const RunOptions& options)
    : scenario_(scenario), host_(host), simulator_(simulator), siblings_(siblings), options_(options) {}

bool ScenarioPlayer::Start() {
    if (!OpenTrace()) return false;
    simulator_.frameRate = scenario_.frameRate;
    variables_.assign(scenario_.variables.size(), {});
    slots_.assign(scenario_.slots.size(), {});
    expectationOrder_ = ByFrame(scenario_, scenario_.expectations);
    pictureOrder_ = ByFrame(scenario_, scenario_.pictures);
    lastStep_ = scenario_.LastFrame();
    // Intervals longer than the run give the first and last rows only.
    const double interval = std::min(scenario_.traceInterval * scenario_.frameRate, static_cast<double>(lastStep_ + 1));
    traceEvery_ = std::max<long long>(1, std::llround(interval));
    step_ = 0;
    return true;
}

double ScenarioPlayer::NextTime() const { return scenario_.TimeOf(step_); }

void ScenarioPlayer::Step() {
    if (Done()) return;
    const long long step = step_++;
    const double time = scenario_.TimeOf(step);
    ApplyVariables(time);
    ApplySlots(step);
    DeliverMouse(step);
    if (step > 0) {
        host_.RunFrame();
        ++result_.frames;
        if (options_.afterFrame) options_.afterFrame();
    }
    CheckExpectations(step);
    TakePictures(step);
    if (step % traceEvery_ == 0 || step == lastStep_) WriteTraceRow(step);
}

RunResult ScenarioPlayer::Finish() {
    if (finished_) return result_;
    finished_ = true;
    for (std::size_t i = 0; i < slots_.size(); ++i)
        if (slots_[i].holding) siblings_.ReleaseSlot(scenario_.slots[i].slot);
    result_.simulatedSeconds = scenario_.TimeOf(result_.frames);
    if (!host_.TextBuffersIntact())
        result_.failures.push_back(scenario_.file + ": a text callback of the module wrote past its buffer");
#if !defined(_WIN32)
    // On Windows the module shows its message boxes itself, out of the host's sight.
    for (const HostDesktop::Message& message : HostDesktop::Instance().messages())
        result_.warnings.push_back("the module showed a message box [" + message.caption + "] " + message.text);
#endif
    if (trace_.is_open()) {
        trace_.close();
        if (!trace_) result_.failures.push_back("could not write " + TracePath());
    }
    return result_;
}

std::string ScenarioPlayer::At(const Location& where, long long step) const {
    return Where(where) + ": at " + FormatSeconds(scenario_.TimeOf(step)) + " (frame " + std::to_string(step) + "): ";
}

// Set only when the script's value changes, so that whatever the module
// does to a variable in between (the transponder's digit events) stands.
void ScenarioPlayer::ApplyVariables(double time) {
    for (std::size_t i = 0; i < scenario_.variables.size(); ++i) {
        const VariableTrack& track = scenario_.variables[i];
        VariableState& state = variables_[i];
        if (track.step) {
            const int key = std::max(track.KeyAt(time), 0);
            if (state.applied && key == state.key) continue;
            const Key& current = track.keys[static_cast<std::size_t>(key)];
            if (track.variable.digits)
                SetDigits(simulator_, track.variable, current.digits);
            else
                SetRaw(simulator_, track.variable, current.value);
            state.key = key;
        } else {
            const double raw = track.ValueAt(time);
            if (state.applied && SameBits(raw, state.raw)) continue;
            SetRaw(simulator_, track.variable, raw);
            state.raw = raw;
        }
        state.applied = true;
    }
}

void ScenarioPlayer::ApplySlots(long long step) {
    for (std::size_t i = 0; i < scenario_.slots.size(); ++i) {
        const SlotTrack& track = scenario_.slots[i];
        SlotState& state = slots_[i];
        for (; state.next < track.steps.size() && scenario_.FrameAt(track.steps[state.next].time) <= step;
             ++state.next) {
            const SlotStep& slotStep = track.steps[state.next];
            if (state.holding) siblings_.ReleaseSlot(track.slot);
            state.holding = false;
            if (slotStep.busy) {
                state.holding = siblings_.HoldSlot(track.slot);
                if (!state.holding)
                    result_.failures.push_back(At(slotStep.where, step) + "could not hold slot " +
                                               std::to_string(track.slot) + " busy");
            } else if (!siblings_.SetSlot(track.slot, slotStep.value)) {
                result_.failures.push_back(At(slotStep.where, step) + "could not set slot " +
                                           std::to_string(track.slot) + " (no shared slot block, or it is busy)");
            }
        }
    }
}

void ScenarioPlayer::DeliverMouse(long long step) {
    for (const MouseEvent& event : scenario_.mouse) {
        const long long press = scenario_.FrameAt(event.time);
        const long long release = event.held ? FrameOrAfterEnd(event.time + event.holdSeconds) : -1;
        if (step == press) {
            const std::uint32_t flags = event.right ? mouse_flag::kRightSingle : mouse_flag::kLeftSingle;
            if (!Deliver(event, flags)) Unanswered(event, step, flags);
            if (release == press) Deliver(event, mouse_flag::kLeftRelease);
        } else if (step > press && step < release) {
            Deliver(event, mouse_flag::kLeftRepeat);
        } else if (step == release) {
            Deliver(event, mouse_flag::kLeftRelease);
        }
    }
}

// A button held beyond the end of the run is never released.
long long ScenarioPlayer::FrameOrAfterEnd(double time) const {
    return time > scenario_.duration + 1.0 ? scenario_.LastFrame() + 1 : scenario_.FrameAt(time);
}

bool ScenarioPlayer::Deliver(const MouseEvent& event, std::uint32_t flags) {
    const GAUGEHDR* gauge = host_.FindGauge(event.gauge);
    int x = event.x, y = event.y;
    if (event.area > 0) {
        const auto areas = gauge_access::ChildAreas(gauge);
        if (event.area > static_cast<int>(areas.size())) return false;
        const auto& box = areas[static_cast<std::size_t>(event.area) - 1];
        x = box.x + box.width / 2;
        y = box.y + box.height / 2;
    }
    return gauge_access::DeliverMouse(gauge, x, y, flags);
}

// A press that no handler took: the simulator would do nothing either,
// but the script probably meant something else.
void ScenarioPlayer::Unanswered(const MouseEvent& event, long long step, std::uint32_t flags) {
    std::string place = event.area > 0 ? "area " + std::to_string(event.area)
                                       : "(" + std::to_string(event.x) + ", " + std::to_string(event.y) + ")";
    std::string takes;
    const auto areas = gauge_access::ChildAreas(host_.FindGauge(event.gauge));
    if (event.area > 0 && event.area <= static_cast<int>(areas.size()))
        takes = " (the area takes events " + Hex(areas[static_cast<std::size_t>(event.area) - 1].rect->eventMask) + ")";
    result_.warnings.push_back(At(event.where, step) + (flags == mouse_flag::kRightSingle ? "right" : "left") +
                               " click on " + event.gauge + " " + place + " reached no handler" + takes);
}

ELEMENT_HEADER* ScenarioPlayer::Element(const std::string& gauge, int number) const {
    const auto elements = gauge_access::Elements(host_.FindGauge(gauge));
    if (number < 1 || number > static_cast<int>(elements.size())) return nullptr;
    return elements[static_cast<std::size_t>(number) - 1];
}

bool ScenarioPlayer::Near(double actual, double expected, double tolerance) {
    if (std::isnan(expected)) return std::isnan(actual);
    if (std::isinf(expected)) return actual == expected;
    return std::fabs(actual - expected) <= tolerance;
}

void ScenarioPlayer::CheckExpectations(long long step) {
    for (; nextExpectation_ < expectationOrder_.size(); ++nextExpectation_) {
        const std::size_t index = expectationOrder_[nextExpectation_];
        const Expectation& expect = scenario_.expectations[index];
        if (scenario_.FrameAt(expect.time) > step) break;
        if (expect.span != Expectation::Span::kAt) {
            Watch watch;
            watch.index = index;
            watch.last = scenario_.FrameAt(expect.until);
            watching_.push_back(watch);
            continue;
        }
        std::string got;
        std::optional<double> number;
        Decide(index, step,
               Holds(expect, got, number) ? std::string()
                                          : At(expect.where, step) + "expected " + expect.Describe() + ", got " + got);
    }
    // Decided ones leave the watch; the others keep their order.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < watching_.size(); ++i) {
        if (CheckWatch(watching_[i], step)) continue;
        if (kept != i) watching_[kept] = std::move(watching_[i]);
        ++kept;
    }
    watching_.resize(kept);
}

// True once the expectation is decided.
bool ScenarioPlayer::CheckWatch(Watch& watch, long long step) {
    const Expectation& expect = scenario_.expectations[watch.index];
    std::string got;
    std::optional<double> number;
    const bool holds = Holds(expect, got, number);
    const std::string where = Where(expect.where) + ": " + expect.DescribeWhen();
    if (expect.span == Expectation::Span::kDuring) {
        if (!holds) {
            Decide(watch.index, step,
                   where + ", at " + FormatSeconds(scenario_.TimeOf(step)) + " (frame " + std::to_string(step) +
                       "): expected " + expect.Describe() + ", got " + got);
            return true;
        }
        if (step < watch.last) return false;
        Decide(watch.index, step, std::string());
        return true;
    }
    if (holds) {
        Decide(watch.index, step, std::string());
        return true;
    }
    if (number) {
        double distance = std::fabs(*number - expect.value);
        if (std::isnan(distance)) distance = INFINITY;
        if (!watch.haveClosest || distance < watch.closestDistance) {
            watch.haveClosest = true;
            watch.closestDistance = distance;
            watch.closest = got;
            watch.closestStep = step;
        }
    } else if (std::find(watch.seen.begin(), watch.seen.end(), got) == watch.seen.end()) {
        if (watch.seen.size() < kAnswersListed)
            watch.seen.push_back(got);
        else
            watch.seenMore = true;
    }
    if (step < watch.last) return false;
    std::string answers;
    if (watch.haveClosest) {
        answers = "closest: " + watch.closest + " at " + FormatSeconds(scenario_.TimeOf(watch.closestStep)) +
                  " (frame " + std::to_string(watch.closestStep) + ")";
    } else {
        answers = "got ";
        for (std::size_t i = 0; i < watch.seen.size(); ++i) answers += (i > 0 ? ", " : "") + watch.seen[i];
        answers += watch.seen.size() == 1 && !watch.seenMore ? " at every frame" : watch.seenMore ? " and more" : "";
    }
    Decide(watch.index, step,
           where + " (frames " + std::to_string(scenario_.FrameAt(expect.time)) + " to " + std::to_string(watch.last) +
               "): expected " + expect.Describe() + " at some frame, but it never held; " + answers);
    return true;
}

void ScenarioPlayer::Decide(std::size_t index, long long step, std::string failure) {
    if (failure.empty())
        ++result_.passed;
    else
        result_.failures.push_back(failure);
    result_.expectations.push_back({index, failure.empty(), step, std::move(failure)});
}

bool ScenarioPlayer::Holds(const Expectation& expect, std::string& got, std::optional<double>& number) {
    switch (expect.kind) {
        case Expectation::Kind::kValue: {
            const double value = gauge_access::ElementValue(Element(expect.gauge, expect.element));
            got = FormatNumber(value);
            number = value;
            return Near(value, expect.value, expect.tolerance);
        }
        case Expectation::Kind::kText: {
            const std::string text = gauge_access::ElementText(Element(expect.gauge, expect.element));
            got = "\"" + text + "\"";
            return text == expect.text;
        }
        case Expectation::Kind::kLamp: {
            const double value = gauge_access::ElementValue(Element(expect.gauge, expect.element));
            const bool lit = value >= 0.0;
            got = std::string(lit ? "lit" : "dark") + " (picture " + FormatNumber(value) + ")";
            return lit == expect.lit;
        }
        case Expectation::Kind::kSlot: {
            double value = 0.0;
            if (!siblings_.ReadSlot(expect.slot, value)) {
                got = "no value (the slot could not be read)";
                return false;
            }
            got = FormatNumber(value);
            number = value;
            return Near(value, expect.value, expect.tolerance);
        }
        case Expectation::Kind::kWindow: {
            const bool shown = simulator_.IsWindowShown(expect.window);
            got = shown ? "shown" : "hidden";
            return shown == expect.shown;
        }
    }
    return false;
}

void ScenarioPlayer::TakePictures(long long step) {
    for (; nextPicture_ < pictureOrder_.size(); ++nextPicture_) {
        const Picture& picture = scenario_.pictures[pictureOrder_[nextPicture_]];
        if (scenario_.FrameAt(picture.time) > step) return;
        const double time = scenario_.TimeOf(step);
        std::string failure;
        if (options_.picture) failure = options_.picture(picture, time);
        if (!failure.empty()) {
            failure = At(picture.where, step) + "picture " + picture.name + ": " + failure;
            result_.failures.push_back(failure);
        }
        // Without a callback nothing was drawn, so nothing held or failed.
        if (options_.picture)
            result_.pictureOutcomes.push_back({pictureOrder_[nextPicture_], failure.empty(), step, failure});
        result_.pictures.push_back(picture.name + " at " + FormatSeconds(time));
    }
}

std::string ScenarioPlayer::TracePath() const {
    return (std::filesystem::path(options_.outputFolder) / "trace.csv").string();
}

bool ScenarioPlayer::OpenTrace() {
    if (options_.outputFolder.empty()) return true;
    std::error_code error;
    std::filesystem::create_directories(options_.outputFolder, error);
    if (error) {
        result_.error = "cannot make the output folder " + options_.outputFolder + ": " + error.message();
        return false;
    }
    trace_.open(TracePath(), std::ios::binary | std::ios::trunc);
    if (!trace_) {
        result_.error = "cannot write " + TracePath();
        return false;
    }
    trace_ << "frame,time";
    for (const TraceColumn& column : scenario_.trace) trace_ << "," << CsvField(column.header);
    trace_ << "\n";
    return true;
}

void ScenarioPlayer::WriteTraceRow(long long step) {
    if (!trace_.is_open() && !options_.traceRow) return;
    std::vector<std::string> cells;
    cells.reserve(scenario_.trace.size());
    for (const TraceColumn& column : scenario_.trace) cells.push_back(Cell(column));
    if (options_.traceRow) options_.traceRow(step, cells);
    if (!trace_.is_open()) return;
    trace_ << step << "," << FormatNumber(scenario_.TimeOf(step));
    for (const std::string& cell : cells) trace_ << "," << CsvField(cell);
    trace_ << "\n";
}

std::string ScenarioPlayer::Cell(const TraceColumn& column) {
    switch (column.kind) {
        case TraceColumn::Kind::kVariable:
            if (column.variable.digits)
                return FormatTransponderDigits(static_cast<unsigned>(RawValue(simulator_, column.variable)));
            return FormatNumber(RawValue(simulator_, column.variable) / column.unit.toRaw);
        case TraceColumn::Kind::kValue:
            return FormatNumber(gauge_access::ElementValue(Element(column.gauge, column.element)));
        case TraceColumn::Kind::kText:
            return gauge_access::ElementText(Element(column.gauge, column.element));
        case TraceColumn::Kind::kSlot: {
            double value = 0.0;
            return siblings_.ReadSlot(column.slot, value) ? FormatNumber(value) : std::string("busy");
        }
        case TraceColumn::Kind::kWindow:
            return simulator_.IsWindowShown(column.window) ? "1" : "0";
    }
    return std::string();
}

}  // namespace scenario
