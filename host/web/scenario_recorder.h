// What a person does on the live panel, kept as a scenario (the model of
// host/scenario, written as its YAML file) that avrion-scenario plays back the
// same way: the variables and slots as they were when recording began, every
// variable and slot set and mouse event since at its step, and expectations of
// what the shown gauges displayed at the marked moments and at the end.
//
// Steps count as the scenario runner's do from the module's load: the inputs
// given after k frames belong to step k + 1 (before its frame), a reading
// taken after k frames to step k.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "scenario/scenario.h"
#include "sim/variable_catalogue.h"
#include "state/shared_slots.h"

namespace web {

// One element as the page showed it: a value, or a text.
struct GaugeReading {
    std::string gauge;
    int element = 0;  // from 1, as the scenario counts
    bool isText = false;
    double value = 0.0;
    std::string text;
};

class ScenarioRecorder {
public:
    // Slots the file always starts with, whatever their value: the module's own and the bus.
    static constexpr int kAlwaysStartedSlots[] = {shared_slot::kSetterPressure, shared_slot::kBreakerWord,
                                                  shared_slot::kBusPower};

    ScenarioRecorder(double frameRate, std::string title, std::string description);

    // The state when recording began (step 0): every scripted variable's raw
    // value (the transponder's digits as their integer) and every slot's.
    void StartWith(const variables::Variable& variable, double raw);
    void StartWithSlot(int slot, double value);

    void Variable(long long step, const variables::Variable& variable, double raw);
    void Slot(long long step, int slot, double value);
    // A left press held until Release (or the end), or a right press; the
    // point in gauge pixels, the area only for the reader.
    void Press(long long step, const std::string& gauge, int x, int y, int area, bool right);
    void Release(long long step);
    void Expect(long long step, std::vector<GaugeReading> readings, const std::map<int, double>& slots);
    // Said in the file, so that a reader knows what the recording could not keep.
    void Note(const std::string& note);

    long long lastStep() const { return lastStep_; }
    int events() const { return events_; }
    int expectations() const { return expectations_; }
    // The scenario, ending at the given step (or the last event's, if later),
    // and its file.
    scenario::Scenario Recorded(long long endStep) const;
    std::string Yaml(long long endStep) const;

private:
    struct Key {
        long long step;
        double value;
    };
    struct Click {
        long long step;
        std::string gauge;
        int x, y, area;
        bool right;
        long long released = -1;  // -1: still held
    };
    struct Expectation {
        long long step;
        GaugeReading reading;
        bool isSlot = false;
        int slot = 0;
    };

    double Time(long long step) const { return static_cast<double>(step) / frameRate_; }
    void Saw(long long step);
    std::vector<std::string> MouseComments() const;

    double frameRate_;
    std::string title_, description_;
    std::vector<std::string> notes_;
    std::vector<const variables::Variable*> variables_;  // in the order they were given
    std::map<const variables::Variable*, std::vector<Key>> variableKeys_;
    std::map<int, std::vector<Key>> slotKeys_;
    std::map<int, bool> slotTouched_;
    std::vector<Click> clicks_;
    std::vector<Expectation> expect_;
    long long lastStep_ = 0;
    int events_ = 0;
    int expectations_ = 0;
};

}  // namespace web
