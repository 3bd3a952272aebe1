// Reads one YAML scenario document into the scenario model: the run's
// settings, variables and slots, mouse events and pictures
// (scenario_reader.cpp), expectations, the trace and the run's end
// (scenario_reader_checks.cpp). Unknown keys are reported and the known ones
// still read, so that one run names every fault of the file.
#pragma once

#include <string>
#include <vector>

#include "scenario/yaml_fields.h"

namespace scenario {

class ScenarioReader {
public:
    ScenarioReader(const std::string& file, std::vector<Problem>& problems) : in_(file, problems) {
        scenario_.file = file;
    }

    Scenario Read(const YAML::Node& root);

private:
    void ReadSettings(const YAML::Node& node);
    bool VariableValue(const YAML::Node& node, const VariableTrack& track, Key& key);
    void ReadKeys(const YAML::Node& list, VariableTrack& track);
    void ReadVariables(const YAML::Node& node);
    bool ReadUnitAndInterpolation(const YAML::Node& body, VariableTrack& track);
    void ReadConstant(const YAML::Node& value, VariableTrack& track);
    bool SlotValue(const YAML::Node& node, int slot, SlotStep& step);
    void ReadSlots(const YAML::Node& node);
    void ReadMouse(const YAML::Node& node);
    void ReadPicture(const YAML::Node& node);

    bool ReadWhen(const YAML::Node& node, Expectation& expect);
    void ReadExpectation(const YAML::Node& node);
    bool ReadSubjectOfExpectation(const YAML::Node& node, Expectation& expect);
    bool Tolerance(const YAML::Node& node, NearValue& near);
    void ReadTrace(const YAML::Node& node);
    void ReadColumn(const YAML::Node& node);
    bool ReadColumnSubject(const YAML::Node& node, TraceColumn& column);
    const variables::Variable* KnownVariable(const YAML::Node& node, const std::string& name);
    void SettleDuration();
    bool AfterEnd(double time) const;

    static constexpr int kLargestNumber = 1'000'000;
    static constexpr long long kLargestPixelCount = 1LL << 28;  // a side of 16384 pixels squared
    static constexpr double kLowestFrameRate = 1.0;
    static constexpr double kHighestFrameRate = 1000.0;

    Reader in_;
    Scenario scenario_;
    bool durationGiven_ = false;
    Location durationWhere_;
};

}  // namespace scenario
