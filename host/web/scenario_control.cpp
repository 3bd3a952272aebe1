#include "web/scenario_control.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "scenario/scenario_checks.h"
#include "scenario/scenario_yaml.h"

namespace web {
namespace {

// A scenario file named by the page: a plain name in the flights folder, never a path that could leave it.
bool IsPlainYamlName(const std::string& name) {
    if (name.empty() || name.size() > 200 || name.front() == '.') return false;
    for (const char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.')) return false;
    return name.ends_with(".yaml") || name.ends_with(".yml");
}

}  // namespace

std::vector<std::string> ScenarioControl::Files() const {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, error)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && IsPlainYamlName(name)) files.push_back(name);
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string ScenarioControl::Read(const std::string& fileName, const std::vector<GAUGEHDR*>& gauges) {
    if (!IsPlainYamlName(fileName))
        return "a scenario is named by its file name in the flights folder, not \"" + fileName + "\"";
    const std::string path = (std::filesystem::path(folder_) / fileName).string();
    if (!std::filesystem::is_regular_file(path)) return "no scenario " + fileName + " in the flights folder";
    scenario::ParseResult parsed = scenario::LoadScenario(path);
    parsed.scenario.file = fileName;
    if (!parsed.ok()) {
        std::string message = "the scenario was refused:";
        for (scenario::Problem& problem : parsed.problems) {
            problem.where.file = fileName;
            message += "\n" + problem.ToString();
        }
        return message;
    }
    // Checked against the module running now, which is the one loaded again to play it.
    const auto problems = scenario::CheckAgainstGauges(parsed.scenario, gauges);
    if (!problems.empty()) {
        std::string message = "the scenario does not fit the module:";
        for (const scenario::Problem& problem : problems) message += "\n" + problem.ToString();
        return message;
    }
    read_ = std::make_unique<scenario::Scenario>(std::move(parsed.scenario));
    return std::string();
}

std::string ScenarioControl::Start(ModuleRun& run) {
    player_.reset();
    scenario_ = std::move(read_);
    player_ = std::make_unique<scenario::ScenarioPlayer>(*scenario_, run.host(), run.simulator(), run.siblings(),
                                                         noOutputs_);
    if (!player_->Start()) {
        const std::string error = player_->progress().error;
        player_.reset();
        return error;
    }
    status_ = ScenarioStatus{ScenarioState::kPlaying, scenario_->file, 0.0, scenario_->duration, 0, {}};
    return std::string();
}

void ScenarioControl::Step() {
    // Step 0 applies the script's first inputs without a frame.
    if (player_->NextStep() == 0) player_->Step();
    player_->Step();
    status_.time = player_->NextTime();
    if (player_->Done()) Ended(ScenarioState::kFinished);
}

void ScenarioControl::Stop(const std::string& why) {
    if (!player_) return;
    Ended(ScenarioState::kStopped);
    player_.reset();
    if (!why.empty()) status_.failures.push_back(why);
}

void ScenarioControl::Ended(ScenarioState state) {
    const scenario::RunResult result = player_->Finish();
    status_.state = state;
    status_.passed = result.passed();
    status_.failures = result.failures();
}

void ScenarioControl::Drop() {
    if (player_) player_->Finish();
    player_.reset();
}

ScenarioStatus ScenarioControl::status(bool paused) const {
    ScenarioStatus status = status_;
    if (playing()) {
        status.state = paused ? ScenarioState::kPaused : ScenarioState::kPlaying;
        status.passed = player_->progress().passed();
        status.failures = player_->progress().failures();
    }
    return status;
}

}  // namespace web
