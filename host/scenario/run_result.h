// How a scenario run came out: the frames it ran, and every outcome once, in
// the order decided: each expectation and compared picture, and what else
// went wrong (an input that could not be given, a file not written).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace scenario {

// An expectation at its frame; during an interval, at its first failing frame
// or its end; within one, at its first holding frame or its end.
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

}  // namespace scenario
