#include "scenario/scenario_player.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <thread>

#include "loader/module_host.h"
#include "scenario/progress_bar.h"
#include "sim/gauge_access.h"
#include "sim/module_run.h"
#include "sim/run_resources.h"
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

bool Near(double actual, double expected, double tolerance) {
    if (std::isnan(expected)) return std::isnan(actual);
    if (std::isinf(expected)) return actual == expected;
    return std::fabs(actual - expected) <= tolerance;
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
                               SiblingModules& siblings, RunObserver& observer)
    : scenario_(scenario),
      host_(host),
      simulator_(simulator),
      siblings_(siblings),
      observer_(observer),
      reader_(host, simulator, siblings) {}

bool ScenarioPlayer::Start() {
    if (std::string error = observer_.Begin(scenario_); !error.empty()) {
        result_.error = error;
        return false;
    }
    tracing_ = observer_.WantsTrace();
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
    ApplyVariables(scenario_.TimeOf(step));
    ApplySlots(step);
    DeliverMouse(step);
    pointer_.BeforeFrame();
    if (step > 0) {
        host_.RunFrame();
        ++result_.frames;
        observer_.AfterFrame();
    }
    CheckExpectations(step);
    TakePictures(step);
    if (tracing_ && (step % traceEvery_ == 0 || step == lastStep_)) TraceRow(step);
}

RunResult ScenarioPlayer::Finish() {
    if (finished_) return result_;
    finished_ = true;
    for (std::size_t i = 0; i < slots_.size(); ++i)
        if (slots_[i].holding) siblings_.ReleaseSlot(scenario_.slots[i].slot);
    result_.simulatedSeconds = scenario_.TimeOf(result_.frames);
    if (!host_.TextBuffersIntact())
        result_.Fail(result_.frames, scenario_.file + ": a text callback of the module wrote past its buffer");
    for (const std::string& box : ModuleMessageBoxes())
        result_.warnings.push_back("the module showed a message box " + box);
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
            if (track.variable->digits())
                variables::SetDigits(simulator_, *track.variable, static_cast<unsigned>(current.value));
            else
                variables::SetRaw(simulator_, *track.variable, current.value);
            state.key = key;
        } else {
            const double raw = track.ValueAt(time);
            if (state.applied && SameBits(raw, state.raw)) continue;
            variables::SetRaw(simulator_, *track.variable, raw);
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
                    result_.Fail(step, At(slotStep.where, step) + "could not hold slot " + std::to_string(track.slot) +
                                           " busy");
            } else if (!siblings_.SetSlot(track.slot, slotStep.value)) {
                result_.Fail(step, At(slotStep.where, step) + "could not set slot " + std::to_string(track.slot) +
                                       " (no shared slot block, or it is busy)");
            }
        }
    }
}

void ScenarioPlayer::DeliverMouse(long long step) {
    for (const MouseEvent& event : scenario_.mouse) {
        if (event.holdSeconds && step == FrameOrAfterEnd(event.time + *event.holdSeconds) &&
            step != scenario_.FrameAt(event.time))
            pointer_.Release();
        if (step != scenario_.FrameAt(event.time)) continue;
        const auto target = TargetOf(event);
        const std::uint32_t click = event.right ? mouse_flag::kRightSingle : mouse_flag::kLeftSingle;
        const bool taken = target && (event.holdSeconds ? pointer_.Press(*target) : pointer_.Click(*target, click));
        if (!taken) Unanswered(event, step);
        if (event.holdSeconds && FrameOrAfterEnd(event.time + *event.holdSeconds) == step) pointer_.Release();
    }
}

// A button held beyond the end of the run is never released.
long long ScenarioPlayer::FrameOrAfterEnd(double time) const {
    return time > scenario_.duration + 1.0 ? scenario_.LastFrame() + 1 : scenario_.FrameAt(time);
}

std::optional<Pointer::Target> ScenarioPlayer::TargetOf(const MouseEvent& event) const {
    const GAUGEHDR* gauge = host_.FindGauge(event.gauge);
    if (event.area == 0) return Pointer::Target{gauge, event.x, event.y};
    const auto areas = gauge_access::ChildAreas(gauge);
    if (event.area > static_cast<int>(areas.size())) return std::nullopt;
    const auto& box = areas[static_cast<std::size_t>(event.area) - 1];
    return Pointer::Target{gauge, box.x + box.width / 2, box.y + box.height / 2};
}

// A press that no handler took: the simulator would do nothing either,
// but the script probably meant something else.
void ScenarioPlayer::Unanswered(const MouseEvent& event, long long step) {
    std::string place = event.area > 0 ? "area " + std::to_string(event.area)
                                       : "(" + std::to_string(event.x) + ", " + std::to_string(event.y) + ")";
    std::string takes;
    const auto areas = gauge_access::ChildAreas(host_.FindGauge(event.gauge));
    if (event.area > 0 && event.area <= static_cast<int>(areas.size()))
        takes = " (the area takes events " + Hex(areas[static_cast<std::size_t>(event.area) - 1].rect->eventMask) + ")";
    result_.warnings.push_back(At(event.where, step) + (event.right ? "right" : "left") + " click on " + event.gauge +
                               " " + place + " reached no handler" + takes);
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
        double distance = std::fabs(*number - std::get<NearValue>(expect.expected).value);
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
    const bool passed = failure.empty();
    result_.outcomes.push_back({Outcome::Of::kExpectation, index, passed, step, std::move(failure)});
}

bool ScenarioPlayer::Holds(const Expectation& expect, std::string& got, std::optional<double>& number) const {
    const Reading reading = reader_.Read(expect.subject);
    return std::visit(Overloaded{
                          [&](const NearValue& near) {
                              if (!reading.number) {
                                  got = "no value (the slot could not be read)";
                                  return false;
                              }
                              got = reading.text;
                              number = reading.number;
                              return Near(*reading.number, near.value, near.tolerance);
                          },
                          [&](const SameText& same) {
                              got = "\"" + reading.text + "\"";
                              return reading.text == same.text;
                          },
                          [&](const LampLit& lamp) {
                              const double picture = reading.number.value_or(-1.0);
                              const bool lit = picture >= 0.0;
                              got = std::string(lit ? "lit" : "dark") + " (picture " + FormatNumber(picture) + ")";
                              return lit == lamp.lit;
                          },
                          [&](const WindowShown& window) {
                              const bool shown = reading.number == 1.0;
                              got = shown ? "shown" : "hidden";
                              return shown == window.shown;
                          },
                      },
                      expect.expected);
}

void ScenarioPlayer::TakePictures(long long step) {
    for (; nextPicture_ < pictureOrder_.size(); ++nextPicture_) {
        const std::size_t index = pictureOrder_[nextPicture_];
        const Picture& picture = scenario_.pictures[index];
        if (scenario_.FrameAt(picture.time) > step) return;
        const double time = scenario_.TimeOf(step);
        // Nothing drawn (no observer draws pictures): nothing held or failed.
        if (const auto failure = observer_.PictureMoment(picture, time)) {
            const std::string message =
                failure->empty() ? std::string() : At(picture.where, step) + "picture " + picture.name + ": " + *failure;
            result_.outcomes.push_back({Outcome::Of::kPicture, index, message.empty(), step, message});
        }
        result_.pictures.push_back(picture.name + " at " + FormatSeconds(time));
    }
}

void ScenarioPlayer::TraceRow(long long step) {
    std::vector<Reading> cells;
    cells.reserve(scenario_.trace.size());
    for (const TraceColumn& column : scenario_.trace) cells.push_back(reader_.Read(column.subject));
    observer_.TraceRow(step, scenario_.TimeOf(step), cells);
}

RunResult RunScenario(const Scenario& scenario, ModuleRun& run, RunObserver& observer, const RunOptions& options) {
    ScenarioPlayer player(scenario, run.host(), run.simulator(), run.siblings(), observer);
    if (!player.Start()) return player.progress();
    const bool realTime = options.realTime.value_or(scenario.realTime);
    const auto start = std::chrono::steady_clock::now();
    while (!player.Done()) {
        const double time = player.NextTime();
        player.Step();
        if (options.progress != nullptr) options.progress->Show(time, scenario.duration);
        if (realTime) std::this_thread::sleep_until(start + std::chrono::duration<double>(time));
    }
    const double wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (options.progress != nullptr) options.progress->Finish();
    RunResult result = player.Finish();
    result.wallSeconds = wallSeconds;
    return result;
}

}  // namespace scenario
