// How a scenario run came out, and what it leaves for a person and for CI,
// gathered at its end from the run and its observers: everything the report
// page, the index of several runs and the JUnit file tell of it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "scenario/scenario.h"
#include "scenario/subject_reading.h"

namespace scenario {

// Every outcome once, in the order decided: each expectation (at its frame;
// during an interval, at its first failing frame or its end; within one, at
// its first holding frame or its end), each compared picture, and what else
// went wrong (an input that could not be given, a file not written).
struct Outcome {
    enum class Of { kExpectation, kPicture, kRun };
    Of of = Of::kExpectation;
    std::size_t index = 0;  // in the scenario's expectations or pictures
    bool passed = false;
    long long frame = 0;
    std::string message;  // the failure, as listed among the failures
};

struct RunResult {
    long long frames = 0;
    double simulatedSeconds = 0.0;
    double wallSeconds = 0.0;
    std::vector<Outcome> outcomes;
    std::vector<std::string> warnings;
    std::vector<std::string> pictures;  // every picture moment: "name at 1.000 s"
    std::string error;                  // the run could not start

    int passed() const;  // the expectations that held
    // Every failure's message, in the order decided.
    std::vector<std::string> failures() const;
    bool ok() const;
    void Fail(long long frame, std::string message);
};

// A picture moment as taken.
struct PictureMoment {
    std::size_t picture = 0;  // in the scenario's list
    double time = 0.0;
    std::vector<std::pair<std::uint32_t, std::string>> windows;  // each shown window and its file's name
    // With a reference picture:
    std::uint32_t window = 0;
    std::string reference;      // the path, absolute
    long long differing = -1;   // pixels beyond the threshold; -1 when not compared
    std::string difference;     // file name of the difference image, when written
    std::string referenceCopy;  // file name of the reference's copy beside it, on a mismatch
    bool rewritten = false;     // the reference was written anew
    std::string failure;
};

// The trace rows a report plots: all of them up to kMaxRows, beyond that an
// even share (every second row, then every fourth, ...) and always the last.
class TraceSamples {
public:
    static constexpr std::size_t kMaxRows = 20000;

    struct Row {
        long long frame = 0;
        std::vector<Reading> cells;
    };
    void Add(long long frame, const std::vector<Reading>& cells);
    // The rows kept, the last row offered included.
    std::vector<Row> Rows() const;
    long long offered() const { return offered_; }

private:
    std::vector<Row> rows_;
    Row last_;
    long long offered_ = 0;
    long long every_ = 1;
};

// The exit status of a run: 0 when every expectation held.
inline constexpr int kRunFailed = 1;   // one did not, or the run went wrong
inline constexpr int kRunRefused = 2;  // the command line or the scenario was refused; no frame ran

struct RunRecord {
    const Scenario* scenario = nullptr;
    std::string outputFolder;  // absolute
    std::string modulePath;
    int status = 0;  // the exit status of this run alone: 0 passed, 1 failed, 2 refused before its first frame
    std::vector<std::string> refusal;  // why it was refused
    RunResult result;
    std::string summary;  // summary.txt's text
    std::vector<PictureMoment> pictures;
    std::size_t picturesWritten = 0;
    std::string contactSheet;  // file name in the output folder, when drawn
    std::string sound;         // file name of the recording, when made
    double soundSeconds = 0.0;
    TraceSamples trace;
    std::string reportPage;              // the report page's path, once written
    bool pagesWritten = true;            // the report page and JUnit file, for the exit status
    std::vector<std::string> notWritten;  // why an output could not be written
};

}  // namespace scenario
