#include "scenario/run_result.h"

#include <algorithm>

namespace scenario {

int RunResult::passed() const {
    return static_cast<int>(std::count_if(outcomes.begin(), outcomes.end(), [](const Outcome& outcome) {
        return outcome.of == Outcome::Of::kExpectation && outcome.passed;
    }));
}

std::vector<std::string> RunResult::failures() const {
    std::vector<std::string> messages;
    for (const Outcome& outcome : outcomes)
        if (!outcome.passed) messages.push_back(outcome.message);
    return messages;
}

bool RunResult::ok() const {
    return error.empty() && std::all_of(outcomes.begin(), outcomes.end(), [](const Outcome& o) { return o.passed; });
}

void RunResult::Fail(long long frame, std::string message) {
    outcomes.push_back({Outcome::Of::kRun, 0, false, frame, std::move(message)});
}

}  // namespace scenario
