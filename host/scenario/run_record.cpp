#include "scenario/run_record.h"

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

void TraceSamples::Add(long long frame, const std::vector<Reading>& cells) {
    last_ = {frame, cells};
    if (offered_++ % every_ != 0) return;
    rows_.push_back(last_);
    if (rows_.size() < kMaxRows) return;
    // Every second row kept goes: the share halves and the spacing doubles.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < rows_.size(); i += 2) rows_[kept++] = std::move(rows_[i]);
    rows_.resize(kept);
    every_ *= 2;
}

std::vector<TraceSamples::Row> TraceSamples::Rows() const {
    std::vector<Row> rows = rows_;
    if (offered_ > 0 && (rows.empty() || rows.back().frame != last_.frame)) rows.push_back(last_);
    return rows;
}

}  // namespace scenario
