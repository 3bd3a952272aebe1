// What a person does on the live panel, kept as a scenario (the format of
// host/scenario/README.md) that avrion-scenario plays back the same way: the
// variables and slots as they were when recording began, every variable and
// slot set and mouse event since at its step, and expectations of what the
// shown gauges displayed at the marked moments and at the end.
//
// Steps count as the scenario runner's do from the module's load: the inputs
// given after k frames belong to step k + 1 (before its frame), a reading
// taken after k frames to step k.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "scenario/scenario_variables.h"

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
    static constexpr int kAlwaysStartedSlots[] = {10, 102, 109};

    ScenarioRecorder(double frameRate, std::string title, std::string description);

    // The state when recording began (step 0): every scripted variable's raw
    // value (the transponder's digits as their integer) and every slot's.
    void StartWith(const scenario::ScriptedVariable& variable, double raw);
    void StartWithSlot(int slot, double value);

    void Variable(long long step, const scenario::ScriptedVariable& variable, double raw);
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
    // The scenario file, ending at the given step (or the last event's, if later).
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

    std::string Time(long long step) const;
    void Saw(long long step);

    double frameRate_;
    std::string title_, description_;
    std::vector<std::string> notes_;
    std::vector<scenario::ScriptedVariable> variables_;  // in the order they were given
    std::map<std::string, std::vector<Key>> variableKeys_;
    std::map<int, std::vector<Key>> slotKeys_;
    std::map<int, bool> slotTouched_;
    std::vector<Click> clicks_;
    std::vector<Expectation> expect_;
    long long lastStep_ = 0;
    int events_ = 0;
    int expectations_ = 0;
};

}  // namespace web
