// A scenario model written as YAML and read back is the same model, but for
// where each part stands in the file.
#pragma once

#include <gtest/gtest.h>

#include "scenario/scenario_yaml.h"

inline scenario::Scenario WithoutLocations(scenario::Scenario model) {
    model.file.clear();
    for (auto& track : model.variables) {
        track.where = {};
        for (auto& key : track.keys) key.where = {};
    }
    for (auto& track : model.slots)
        for (auto& step : track.steps) step.where = {};
    for (auto& event : model.mouse) event.where = {};
    for (auto& picture : model.pictures) picture.where = {};
    for (auto& expect : model.expectations) expect.where = {};
    for (auto& column : model.trace) column.where = {};
    return model;
}

inline void ExpectYamlRoundTrip(const scenario::Scenario& model) {
    const std::string text = scenario::ScenarioToYaml(model);
    const scenario::ParseResult back = scenario::ParseScenario(text, "written.yaml");
    for (const auto& problem : back.problems) ADD_FAILURE() << problem.ToString() << "\n" << text;
    EXPECT_TRUE(WithoutLocations(back.scenario) == WithoutLocations(model)) << text;
}
