// The scenarios the page starts from the flights folder: a file read and
// checked against the module running now, then played a frame at a time on a
// freshly loaded module, as the batch runner plays it, with no files written.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "scenario/run_observer.h"
#include "scenario/scenario.h"
#include "scenario/scenario_player.h"
#include "sim/module_run.h"

namespace web {

enum class ScenarioState { kNone, kPlaying, kPaused, kFinished, kStopped };

struct ScenarioStatus {
    ScenarioState state = ScenarioState::kNone;
    std::string file;
    double time = 0.0;
    double duration = 0.0;
    int passed = 0;
    std::vector<std::string> failures;
};

class ScenarioControl {
public:
    explicit ScenarioControl(std::string flightsFolder) : folder_(std::move(flightsFolder)) {}

    std::vector<std::string> Files() const;
    // The named file read and checked against the module's gauges, kept to be
    // started; empty, else why it is refused.
    std::string Read(const std::string& fileName, const std::vector<GAUGEHDR*>& gauges);
    // The file read last, played from its start on the run's module.
    std::string Start(ModuleRun& run);
    bool playing() const { return player_ && !player_->Done(); }
    // One frame of the scenario, its first inputs with the first.
    void Step();
    // Ended before its end, its outcomes so far kept; with why, when it was not asked.
    void Stop(const std::string& why = std::string());
    // Let go of without a word: its module is going and a new run starts.
    void Drop();
    ScenarioStatus status(bool paused) const;
    const std::string& lastFile() const { return status_.file; }

private:
    void Ended(ScenarioState state);

    std::string folder_;
    std::unique_ptr<scenario::Scenario> read_;
    std::unique_ptr<scenario::Scenario> scenario_;
    std::unique_ptr<scenario::ScenarioPlayer> player_;
    scenario::RunObservers noOutputs_;
    ScenarioStatus status_;
};

}  // namespace web
