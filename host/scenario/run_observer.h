// What a scenario run leaves, each output an observer of the run: one
// interface of hooks that do nothing unless overridden, and a multiplexer that
// hands every event to every observer in turn (one observer's failure does not
// stop the others). trace.csv, summary.txt, the pictures, the sound, the
// report page, the JUnit files and the index are observers; none knows the
// others. At the end of a run each adds what it made to the run's record, for
// those that tell of it (the report, JUnit).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "scenario/run_record.h"
#include "scenario/scenario.h"
#include "scenario/subject_reading.h"

class ModuleRun;

namespace scenario {

struct RunRecord;

class RunObserver {
public:
    virtual ~RunObserver() = default;
    // Once the module is loaded and the scenario fits it: what in the scenario
    // does not fit this observer's output (a reference picture), refusing the run.
    virtual std::vector<Problem> Loaded(ModuleRun&, const Scenario&) { return {}; }
    // Before the first step; why the output cannot be made (the run does not
    // start), or nothing.
    virtual std::string Begin(const Scenario&) { return std::string(); }
    // Whether it takes the trace's rows, which are read only when one does.
    virtual bool WantsTrace() const { return false; }
    virtual void TraceRow(long long /*frame*/, double /*time*/, const std::vector<Reading>& /*cells*/) {}
    // After every frame.
    virtual void AfterFrame() {}
    // A picture moment, after its step's frame: why the picture failed, or
    // empty; nothing when this observer draws no pictures.
    virtual std::optional<std::string> PictureMoment(const Picture&, double /*time*/) { return std::nullopt; }
    // Once the run has ended (or was refused): adds what it made to the record.
    virtual void End(RunRecord&) {}
    // Once every run of the call has ended.
    virtual void AllEnded(const std::vector<const RunRecord*>&) {}
};

class RunObservers final : public RunObserver {
public:
    RunObservers() = default;
    explicit RunObservers(std::vector<RunObserver*> observers) : observers_(std::move(observers)) {}
    void Add(RunObserver& observer) { observers_.push_back(&observer); }

    std::vector<Problem> Loaded(ModuleRun& run, const Scenario& scenario) override;
    std::string Begin(const Scenario& scenario) override;
    bool WantsTrace() const override;
    void TraceRow(long long frame, double time, const std::vector<Reading>& cells) override;
    void AfterFrame() override;
    std::optional<std::string> PictureMoment(const Picture& picture, double time) override;
    void End(RunRecord& record) override;
    void AllEnded(const std::vector<const RunRecord*>& records) override;

    // What went wrong inside an observer, in the order it happened.
    const std::vector<std::string>& faults() const { return faults_; }

private:
    template <typename Call>
    void Each(Call call);

    std::vector<RunObserver*> observers_;
    std::vector<std::string> faults_;
};

}  // namespace scenario
