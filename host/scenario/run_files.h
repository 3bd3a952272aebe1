// The files every scenario run leaves in its output folder on both systems:
// trace.csv, a row for each traced step, and summary.txt, the run in a few
// lines (also what avrion-scenario prints).
#pragma once

#include <fstream>
#include <string>

#include "scenario/run_observer.h"

namespace scenario {

class TraceFile final : public RunObserver {
public:
    explicit TraceFile(std::string outputFolder) : outputFolder_(std::move(outputFolder)) {}
    std::string Begin(const Scenario& scenario) override;
    bool WantsTrace() const override { return true; }
    void TraceRow(long long frame, double time, const std::vector<Reading>& cells) override;
    void End(RunRecord& record) override;

private:
    std::string Path() const;

    std::string outputFolder_;
    std::ofstream file_;
};

// The summary of a run, as summary.txt holds it.
std::string SummaryText(const Scenario& scenario, const RunResult& result, const std::string& modulePath);

// Writes summary.txt when the run was played (not when it could not start).
class SummaryFile final : public RunObserver {
public:
    explicit SummaryFile(std::string outputFolder) : outputFolder_(std::move(outputFolder)) {}
    void End(RunRecord& record) override;

private:
    std::string outputFolder_;
};

}  // namespace scenario
