// The scenario model written and read back: from JSON (compiled scenarios)
// field for field, lines included, every double bit for bit on both systems,
// a damaged file refused, not guessed at; and from YAML (what the recorder
// writes) the same model but for where each part stands in the file.
#include "scenario/scenario_json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#if !defined(_WIN32)
#include "scenario/scenario_yaml.h"
#include "support/scenario_model.h"
#endif

namespace {

using scenario::Expectation;
using scenario::Scenario;
using scenario::ScenarioFromJson;
using scenario::ScenarioToJson;

Scenario RoundTrip(const Scenario& original) {
    auto result = ScenarioFromJson(ScenarioToJson(original), "compiled.json");
    for (const auto& problem : result.problems) ADD_FAILURE() << problem.ToString();
    return result.scenario;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(CompiledScenario, EveryDoubleComesBackBitForBit) {
    const double values[] = {0.1,
                             1.0 / 3.0,
                             0.30000000000000004,
                             123456.78901234567,
                             -2.5e-7,
                             5e-324,
                             2.2250738585072014e-308,
                             1.7976931348623157e308,
                             -0.0,
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()};
    for (double value : values) {
        Scenario flight;
        flight.duration = 1.0;
        Expectation expect;
        expect.subject = scenario::SlotSubject{10};
        expect.expected = scenario::NearValue{value, value};
        expect.where = {"flight.yaml", 7};
        flight.expectations.push_back(expect);
        const Scenario back = RoundTrip(flight);
        ASSERT_EQ(back.expectations.size(), 1u);
        const auto& near = std::get<scenario::NearValue>(back.expectations[0].expected);
        EXPECT_TRUE(SameBits(near.value, value)) << value;
        EXPECT_TRUE(SameBits(near.tolerance, value)) << value;
    }
}

TEST(CompiledScenario, NotANumberStaysNotANumber) {
    Scenario flight;
    Expectation expect;
    expect.subject = scenario::SlotSubject{10};
    expect.expected = scenario::NearValue{std::numeric_limits<double>::quiet_NaN(), 0.0};
    flight.expectations.push_back(expect);
    EXPECT_TRUE(std::isnan(std::get<scenario::NearValue>(RoundTrip(flight).expectations.at(0).expected).value));
}

TEST(CompiledScenario, ADamagedOrForeignFileIsRefusedByName) {
    for (const char* text :
         {"", "{", "[]", "{\"format\": \"something else\"}", "{\"format\": \"avrion-scenario 1\"}"}) {
        const auto result = ScenarioFromJson(text, "flight.json");
        ASSERT_EQ(result.problems.size(), 1u) << text;
        EXPECT_EQ(result.problems[0].where.file, "flight.json");
    }
}

TEST(CompiledScenario, AnUnknownVariableOrUnitIsRefused) {
    const std::string good = ScenarioToJson(Scenario{});
    scenario::VariableTrack track;
    track.variable = variables::Find("altitude");
    track.unit = *variables::FindUnit(*track.variable, "ft");
    Scenario flight;
    flight.variables.push_back(track);
    const std::string text = ScenarioToJson(flight);
    ASSERT_TRUE(ScenarioFromJson(text, "f.json").ok());
    std::string badUnit = text;
    badUnit.replace(badUnit.find("\"ft\""), 4, "\"yd\"");
    EXPECT_FALSE(ScenarioFromJson(badUnit, "f.json").ok());
    std::string badVariable = text;
    badVariable.replace(badVariable.find("\"altitude\""), 10, "\"altitudo\"");
    EXPECT_FALSE(ScenarioFromJson(badVariable, "f.json").ok());
    EXPECT_TRUE(ScenarioFromJson(good, "f.json").ok());
}

#if !defined(_WIN32)
// The scenarios run as tests and the default flight (intervals, units,
// reference pictures among them): the compiled file is the scenario the YAML
// reader made, equal in every field; the file written from it reads back as
// the same scenario.
TEST(ScenarioFormats, TheShippedScenariosComeBackEqual) {
    for (const char* file : {"tests/scenarios/bus_power_lamps.yaml", "tests/scenarios/itv_clock.yaml",
                             "tests/scenarios/landing_hot_brakes.yaml", "sim/flights/default_flight.yaml"}) {
        SCOPED_TRACE(file);
        const auto parsed = scenario::LoadScenario(std::string(AVRION_SOURCE_DIR) + "/" + file);
        ASSERT_TRUE(parsed.ok());
        EXPECT_FALSE(parsed.scenario.expectations.empty());
        EXPECT_TRUE(RoundTrip(parsed.scenario) == parsed.scenario);
        ExpectYamlRoundTrip(parsed.scenario);
    }
}
#endif

}  // namespace
