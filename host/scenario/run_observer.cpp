#include "scenario/run_observer.h"

#include <exception>

#include "scenario/run_record.h"

namespace scenario {

template <typename Call>
void RunObservers::Each(Call call) {
    for (RunObserver* observer : observers_) {
        try {
            call(*observer);
        } catch (const std::exception& error) {
            faults_.push_back(error.what());
        }
    }
}

std::vector<Problem> RunObservers::Loaded(ModuleRun& run, const Scenario& scenario) {
    std::vector<Problem> problems;
    Each([&](RunObserver& observer) {
        const std::vector<Problem> found = observer.Loaded(run, scenario);
        problems.insert(problems.end(), found.begin(), found.end());
    });
    return problems;
}

std::string RunObservers::Begin(const Scenario& scenario) {
    std::string error;
    Each([&](RunObserver& observer) {
        if (error.empty()) error = observer.Begin(scenario);
    });
    return error;
}

bool RunObservers::WantsTrace() const {
    for (const RunObserver* observer : observers_)
        if (observer->WantsTrace()) return true;
    return false;
}

void RunObservers::TraceRow(long long frame, double time, const std::vector<Reading>& cells) {
    Each([&](RunObserver& observer) { observer.TraceRow(frame, time, cells); });
}

void RunObservers::AfterFrame() {
    Each([](RunObserver& observer) { observer.AfterFrame(); });
}

std::optional<std::string> RunObservers::PictureMoment(const Picture& picture, double time) {
    std::optional<std::string> failure;
    Each([&](RunObserver& observer) {
        const auto drawn = observer.PictureMoment(picture, time);
        if (!drawn) return;
        if (!failure || failure->empty()) failure = *drawn;
    });
    return failure;
}

void RunObservers::End(RunRecord& record) {
    Each([&](RunObserver& observer) { observer.End(record); });
}

void RunObservers::AllEnded(const std::vector<const RunRecord*>& records) {
    Each([&](RunObserver& observer) { observer.AllEnded(records); });
}

}  // namespace scenario
