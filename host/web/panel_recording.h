// What is done on the live panel, recorded into scenarios. A recording runs in
// sections: a reload of the rebuilt module closes one, with the old module's
// readings, and starts the next. A mark and the stop take the shown gauges'
// readings at the next frame boundary; each section is kept (the last few),
// offered for download and written to the record folder when there is one.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "render/panel_layout.h"
#include "sim/module_run.h"
#include "web/scenario_recorder.h"
#include "web/window_tiles.h"

namespace web {

// A recorded scenario, one section of a recording (a reload starts the next).
struct RecordedScenario {
    std::string name;  // "recording-20240501-103205.yaml", "...-section2.yaml" for the next section
    std::string text;
    std::string savedTo;  // the file written, or why it could not be
    int events = 0;
    int expectations = 0;
};

struct RecordingStatus {
    enum class State { kOff, kRecording, kStopping };
    State state = State::kOff;
    int section = 0;
    double time = 0.0;  // simulator time since the section began
    int events = 0;
    int marks = 0;
    std::string note;  // why the last recording ended unasked, if it did
};

// What an expectation keeps: every element of the shown gauges and the slots the module writes.
struct ModuleReadings {
    std::vector<GaugeReading> gauges;
    std::map<int, double> slots;
};
ModuleReadings ReadShownGauges(const render::PanelLayout& layout, WindowTiles& tiles, ModuleRun& run);

class PanelRecording {
public:
    PanelRecording(std::string folder, std::function<ModuleReadings()> read)
        : folder_(std::move(folder)), read_(std::move(read)) {}

    bool active() const { return recorder_ != nullptr; }
    // A new recording, named by the time, starting from the run's state now.
    void Start(ModuleRun& run);
    // What the page did, at the next step.
    void Pressed(const std::string& gauge, int x, int y, int area, bool right);
    void LetGo(bool byLeaving);
    void VariableSet(const variables::Variable& variable, double raw);
    void SlotSet(int slot, double value);
    // Said once in the file, at its head.
    void NoteOnce(const std::string& note);
    // Taken at the next frame boundary (see TakeDue).
    void Mark() { markDue_ = true; }
    void Stop();
    bool inputSinceFrame() const { return inputSinceFrame_; }

    void AfterFrame();
    // A mark or the stop asked for, taken now.
    void TakeDue();
    // Around a reload: the section closed with the readings of now, and then
    // the next begun, or the recording ended (why, when it was not asked).
    void CloseSection();
    bool stopDue() const { return stopDue_; }
    void BeginSection(ModuleRun& run);
    void End(const std::string& note = std::string());

    RecordingStatus status(double frameRate) const;
    const std::deque<RecordedScenario>& files() const { return files_; }
    const RecordedScenario* Find(const std::string& name) const;

private:
    long long InputStep() {
        inputSinceFrame_ = true;
        return step_ + 1;
    }
    void Expect();
    void Keep();

    std::string folder_;
    std::function<ModuleReadings()> read_;
    std::unique_ptr<ScenarioRecorder> recorder_;
    RecordingStatus status_;
    std::string name_;     // the first section's file name without ".yaml"
    long long step_ = 0;   // frames since the section began
    bool inputSinceFrame_ = false;
    bool markDue_ = false, stopDue_ = false;
    std::deque<RecordedScenario> files_;
    std::vector<std::string> notes_;
};

}  // namespace web
