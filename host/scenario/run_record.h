// What one scenario's run leaves for a person and for CI: everything the
// report page, the index of several runs and the JUnit file tell of it.
#pragma once

#include <string>
#include <vector>

#include "scenario/scenario.h"
#include "scenario/scenario_pictures.h"
#include "scenario/scenario_runner.h"

namespace report {

// The trace rows a report plots: all of them up to kMaxRows, beyond that an
// even share (every second row, then every fourth, ...) and always the last.
class TraceSamples {
public:
    static constexpr std::size_t kMaxRows = 20000;

    void Add(long long frame, const std::vector<std::string>& cells);
    struct Row {
        long long frame = 0;
        std::vector<std::string> cells;
    };
    // The rows kept, the last row offered included.
    std::vector<Row> Rows() const;
    long long offered() const { return offered_; }

private:
    std::vector<Row> rows_;
    Row last_;
    long long offered_ = 0;
    long long every_ = 1;
};

struct RunRecord {
    const scenario::Scenario* scenario = nullptr;
    std::string outputFolder;  // absolute
    std::string modulePath;
    int status = 0;  // the exit status of this run alone: 0 passed, 1 failed, 2 refused before its first frame
    std::vector<std::string> refusal;  // why it was refused
    scenario::RunResult result;
    std::string summary;  // summary.txt's text
    std::vector<ScenarioPictures::Moment> pictures;
    std::string contactSheet;  // file name in the output folder, when drawn
    std::string sound;         // file name of the recording, when made
    TraceSamples trace;
};

}  // namespace report
