// Plays a checked scenario through a loaded module: each step sets the
// variables, slots and mouse events due, runs one frame, then checks the
// expectations, takes the pictures and writes a trace row.
//
// Step k happens at simulator time k / frame rate. Step 0 is the moment after
// loading: its inputs are applied and its expectations checked without a
// frame; every later step runs exactly one frame between the two.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "scenario/scenario.h"

class ModuleHost;
class ProgressBar;
class Simulator;
class SiblingModules;

namespace scenario {

// Called at each picture moment, after that step's frame; the renderer that
// draws the panel is someone else's. Returns why the picture failed (it
// differs from its reference), or nothing.
using PictureCallback = std::function<std::string(const Picture& picture, double time)>;
// Called with each row written to the trace: the cells after frame and time.
using TraceCallback = std::function<void(long long frame, const std::vector<std::string>& cells)>;

struct RunOptions {
    std::string outputFolder;      // trace.csv and summary.txt; empty: no files
    std::optional<bool> realTime;  // overrides the scenario's own setting
    ProgressBar* progress = nullptr;
    PictureCallback picture;
    TraceCallback traceRow;            // also when no trace file is written
    std::function<void()> afterFrame;  // once after every frame, e.g. to move the needles being drawn
    std::string modulePath;  // named in the summary
};

// How one expectation or picture came out, at the frame it was decided: an
// expectation at its frame; during an interval, at its first failing frame or
// its end; within one, at its first holding frame or its end.
struct Outcome {
    std::size_t index = 0;  // in the scenario's expectations or pictures
    bool passed = false;
    long long frame = 0;
    std::string message;  // the failure, as listed among the failures
};

struct RunResult {
    long long frames = 0;
    double simulatedSeconds = 0.0;
    double wallSeconds = 0.0;
    int passed = 0;
    std::vector<std::string> failures;  // expectations that did not hold and inputs that could not be given
    std::vector<std::string> warnings;
    std::vector<std::string> pictures;
    std::vector<Outcome> expectations;     // in the order decided
    std::vector<Outcome> pictureOutcomes;  // in the order taken
    std::string error;  // the run could not start
    bool ok() const { return error.empty() && failures.empty(); }
};

// The module must be loaded, and the scenario accepted by ParseScenario and
// CheckAgainstGauges.
RunResult RunScenario(const Scenario& scenario, ModuleHost& host, Simulator& simulator, SiblingModules& siblings,
                      const RunOptions& options);

// The summary text written to summary.txt.
std::string Summary(const Scenario& scenario, const RunResult& result, const RunOptions& options);

}  // namespace scenario
