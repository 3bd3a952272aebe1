#include "web/panel_recording.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "sim/gauge_access.h"
#include "web/panel_module.h"

namespace web {
namespace {

constexpr std::size_t kRecordingsKept = 20;

// Written whole or not at all: through a temporary file and a rename.
std::string WriteWhole(const std::filesystem::path& path, const std::string& text) {
    const std::filesystem::path temporary = path.string() + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out) return "could not write " + temporary.string();
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) return "could not write " + path.string() + ": " + error.message();
    return std::string();
}

}  // namespace

ModuleReadings ReadShownGauges(const render::PanelLayout& layout, WindowTiles& tiles, ModuleRun& run) {
    ModuleReadings readings;
    std::set<std::string> seen;
    for (const render::PanelWindow* window : render::ShownWindows(layout, run.simulator()))
        for (const render::GaugeBox& box : tiles.GaugeBoxes(*window)) {
            const std::string name = box.gauge->name != nullptr ? box.gauge->name : "";
            // Read from the gauge a replay finds by the name.
            const GAUGEHDR* gauge = name.empty() ? nullptr : run.host().FindGauge(name);
            if (gauge == nullptr || !seen.insert(name).second) continue;
            const auto elements = gauge_access::Elements(gauge);
            for (std::size_t i = 0; i < elements.size(); ++i) {
                GaugeReading reading{name, static_cast<int>(i + 1), false, 0.0, {}};
                switch (elements[i]->kind) {
                    case kElementNeedle:
                    case kElementIcon:
                        reading.value = gauge_access::ElementValue(elements[i]);
                        break;
                    case kElementString:
                        reading.isText = true;
                        reading.text = gauge_access::ElementText(elements[i]);
                        break;
                    default:
                        continue;
                }
                readings.gauges.push_back(std::move(reading));
            }
        }
    for (const int slot : shared_slot::kWrittenByModule) {
        double value = 0.0;
        if (run.siblings().ReadSlot(slot, value)) readings.slots[slot] = value;
    }
    return readings;
}

void PanelRecording::Start(ModuleRun& run) {
    const std::string stamp = LocalTime("recording-%Y%m%d-%H%M%S");
    const auto taken = [&](const std::string& name) {
        return Find(name + ".yaml") != nullptr ||
               (!folder_.empty() && std::filesystem::exists(std::filesystem::path(folder_) / (name + ".yaml")));
    };
    name_ = stamp;
    for (int suffix = 2; taken(name_); ++suffix) name_ = stamp + "-" + std::to_string(suffix);
    status_ = RecordingStatus{RecordingStatus::State::kRecording, 0, 0.0, 0, 0, ""};
    BeginSection(run);
}

void PanelRecording::BeginSection(ModuleRun& run) {
    step_ = 0;
    inputSinceFrame_ = markDue_ = stopDue_ = false;
    notes_.clear();
    const int section = ++status_.section;
    const std::string title = "Recorded on the live panel, " + LocalTime("%Y-%m-%d %H:%M:%S") +
                              (section > 1 ? ", section " + std::to_string(section) : "");
    const std::string description = section > 1 ? "Goes on from section " + std::to_string(section - 1) +
                                                      " after the module was rebuilt and loaded again."
                                                : "";
    recorder_ = std::make_unique<ScenarioRecorder>(run.simulator().frameRate, title, description);
    for (const variables::Variable& variable : variables::All())
        recorder_->StartWith(variable, variables::RawValue(run.simulator(), variable));
    for (int slot = 0; slot < shared_slot::kCount; ++slot) {
        double value = 0.0;
        if (run.siblings().ReadSlot(slot, value)) recorder_->StartWithSlot(slot, value);
    }
}

void PanelRecording::Pressed(const std::string& gauge, int x, int y, int area, bool right) {
    if (recorder_) recorder_->Press(InputStep(), gauge, x, y, area, right);
}

void PanelRecording::LetGo(bool byLeaving) {
    if (!recorder_) return;
    recorder_->Release(InputStep());
    // The module takes the pointer leaving a held area as letting go; scenarios only know letting go.
    if (byLeaving) NoteOnce("A button let go by the pointer leaving its area is released there in the replay");
}

void PanelRecording::VariableSet(const variables::Variable& variable, double raw) {
    if (recorder_) recorder_->Variable(InputStep(), variable, raw);
}

void PanelRecording::SlotSet(int slot, double value) {
    if (recorder_) recorder_->Slot(InputStep(), slot, value);
}

void PanelRecording::NoteOnce(const std::string& note) {
    if (!recorder_ || std::find(notes_.begin(), notes_.end(), note) != notes_.end()) return;
    notes_.push_back(note);
    recorder_->Note(note);
}

void PanelRecording::Stop() {
    stopDue_ = true;
    status_.state = RecordingStatus::State::kStopping;
}

void PanelRecording::AfterFrame() {
    if (!recorder_) return;
    ++step_;
    inputSinceFrame_ = false;
    TakeDue();
}

void PanelRecording::TakeDue() {
    if (!recorder_ || !(markDue_ || stopDue_)) return;
    Expect();
    if (markDue_) ++status_.marks;
    markDue_ = false;
    if (stopDue_) {
        Keep();
        End();
    }
}

void PanelRecording::CloseSection() {
    Expect();
    Keep();
}

void PanelRecording::End(const std::string& note) {
    recorder_.reset();
    stopDue_ = false;
    status_.state = RecordingStatus::State::kOff;
    if (!note.empty()) status_.note = note;
}

void PanelRecording::Expect() {
    ModuleReadings readings = read_();
    recorder_->Expect(step_, std::move(readings.gauges), readings.slots);
}

void PanelRecording::Keep() {
    RecordedScenario file;
    const int section = status_.section;
    file.name = name_ + (section > 1 ? "-section" + std::to_string(section) : "") + ".yaml";
    file.text = recorder_->Yaml(step_);
    file.events = recorder_->events();
    file.expectations = recorder_->expectations();
    if (!folder_.empty()) {
        const std::filesystem::path folder(folder_);
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        const std::string fault = WriteWhole(folder / file.name, file.text);
        file.savedTo = fault.empty() ? (folder / file.name).string() : fault;
    }
    files_.push_back(std::move(file));
    if (files_.size() > kRecordingsKept) files_.pop_front();
}

RecordingStatus PanelRecording::status(double frameRate) const {
    RecordingStatus status = status_;
    if (recorder_) {
        status.time = static_cast<double>(step_) / frameRate;
        status.events = recorder_->events();
    }
    return status;
}

const RecordedScenario* PanelRecording::Find(const std::string& name) const {
    for (const RecordedScenario& file : files_)
        if (file.name == name) return &file;
    return nullptr;
}

}  // namespace web
