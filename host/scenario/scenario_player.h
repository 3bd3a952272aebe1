// Plays a checked scenario one step at a time: each step sets the variables,
// slots and mouse events due, runs one frame (not at step 0), then checks the
// expectations and hands the picture moments and the trace's rows to the
// run's observers. The batch runner steps it in a loop; the live panel steps
// it once per frame of its clock, so it can be paused between any two steps.
//
// Step k happens at simulator time k / frame rate. Step 0 is the moment after
// loading: its inputs are applied and its expectations checked without a
// frame; every later step runs exactly one frame between the two.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scenario/run_observer.h"
#include "scenario/run_record.h"
#include "scenario/scenario.h"
#include "scenario/subject_reading.h"
#include "sim/pointer.h"

class ModuleHost;
class ModuleRun;
class ProgressBar;
class Simulator;
class SiblingModules;

namespace scenario {

class ScenarioPlayer {
public:
    // Everything given must outlive the player.
    ScenarioPlayer(const Scenario& scenario, ModuleHost& host, Simulator& simulator, SiblingModules& siblings,
                   RunObserver& observer);
    ScenarioPlayer(const ScenarioPlayer&) = delete;
    ScenarioPlayer& operator=(const ScenarioPlayer&) = delete;

    // Sets the frame rate and lets the observers begin; false (with the
    // result's error set) when the run cannot start.
    bool Start();
    bool Done() const { return step_ > lastStep_; }
    // The next step to play and its simulator time.
    long long NextStep() const { return step_; }
    double NextTime() const;
    void Step();
    // Releases held slots, checks the text buffers and collects the module's
    // message boxes. Call once, when done or stopping early.
    RunResult Finish();

    // What the steps so far have found.
    const RunResult& progress() const { return result_; }

private:
    struct VariableState {
        bool applied = false;
        double raw = 0.0;
        int key = -1;
    };
    struct SlotState {
        std::size_t next = 0;
        bool holding = false;
    };
    // An expectation over an interval that has begun and is not decided yet.
    struct Watch {
        std::size_t index = 0;
        long long last = 0;  // the interval's last frame
        // The nearest miss of a value within an interval, else the answers seen.
        bool haveClosest = false;
        double closestDistance = 0.0;
        std::string closest;
        long long closestStep = 0;
        std::vector<std::string> seen;
        bool seenMore = false;
    };
    bool CheckWatch(Watch& watch, long long step);

    std::string At(const Location& where, long long step) const;
    void ApplyVariables(double time);
    void ApplySlots(long long step);
    void DeliverMouse(long long step);
    long long FrameOrAfterEnd(double time) const;
    std::optional<Pointer::Target> TargetOf(const MouseEvent& event) const;
    void Unanswered(const MouseEvent& event, long long step);
    void CheckExpectations(long long step);
    // number: the value read, for values and slots.
    bool Holds(const Expectation& expect, std::string& got, std::optional<double>& number) const;
    void Decide(std::size_t index, long long step, std::string failure);
    void TakePictures(long long step);
    void TraceRow(long long step);

    const Scenario& scenario_;
    ModuleHost& host_;
    Simulator& simulator_;
    SiblingModules& siblings_;
    RunObserver& observer_;
    SubjectReader reader_;
    Pointer pointer_;

    RunResult result_;
    std::vector<VariableState> variables_;
    std::vector<SlotState> slots_;
    std::vector<std::size_t> expectationOrder_;
    std::size_t nextExpectation_ = 0;
    std::vector<Watch> watching_;
    std::vector<std::size_t> pictureOrder_;
    std::size_t nextPicture_ = 0;
    bool tracing_ = false;
    long long lastStep_ = 0;
    long long step_ = 0;
    long long traceEvery_ = 1;
    bool finished_ = false;
};

struct RunOptions {
    std::optional<bool> realTime;  // overrides the scenario's own setting
    ProgressBar* progress = nullptr;
};

// Plays a scenario from its first step to its last, at the pace of simulator
// time when asked. The module must be loaded, and the scenario accepted by a
// reader and CheckAgainstGauges.
RunResult RunScenario(const Scenario& scenario, ModuleRun& run, RunObserver& observer, const RunOptions& options);

}  // namespace scenario
