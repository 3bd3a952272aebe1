// Scenario files as the scenario runner reads them: what is refused and on
// which line, how keyframes are interpolated, the units converted to the raw
// values the simulator stand-in takes, and the checks against a module's
// gauges, here made by hand.
#include "scenario/scenario_yaml.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "scenario/scenario_checks.h"
#include "sim/variable_catalogue.h"
#include "support/temp_folder.h"

namespace {

using scenario::ElementSubject;
using scenario::Expectation;
using scenario::ParseScenario;
using scenario::Scenario;
using testing::HasSubstr;

// The one problem a text has, as "file:line: what".
std::string OnlyProblem(const std::string& text) {
    const auto result = ParseScenario(text, "flight.yaml");
    EXPECT_EQ(result.problems.size(), 1u) << text;
    return result.problems.empty() ? std::string() : result.problems.front().ToString();
}

Scenario Accepted(const std::string& text) {
    auto result = ParseScenario(text, "flight.yaml");
    for (const auto& problem : result.problems) ADD_FAILURE() << problem.ToString();
    return result.scenario;
}

// ---------------------------------------------------------------------------------------------------------------
// What is refused, with its line

TEST(ScenarioParser, SyntaxErrorNamesTheFileAndLine) {
    const std::string message = OnlyProblem("settings:\n  frame_rate: 18\n  duration: [2\nexpect: []\n");
    EXPECT_THAT(message, HasSubstr("flight.yaml:"));
    EXPECT_THAT(message, HasSubstr("not valid YAML"));
}

TEST(ScenarioParser, UnknownVariableIsRefusedOnItsLine) {
    const std::string message = OnlyProblem("variables:\n  fuel: 0\n  groundspeed: 3\n");
    EXPECT_THAT(message, HasSubstr("flight.yaml:3: unknown simulator variable \"groundspeed\""));
    EXPECT_THAT(message, HasSubstr("ground_speed"));  // the known names are listed
}

TEST(ScenarioParser, TokenNumbersAreNoVariableNames) {
    EXPECT_THAT(OnlyProblem("variables:\n  832: 3\n"), HasSubstr("flight.yaml:2: unknown simulator variable"));
}

TEST(ScenarioParser, ValueOfTheWrongTypeIsRefusedOnItsLine) {
    EXPECT_EQ(OnlyProblem("variables:\n  altitude:\n    keys: [[0, 100],\n           [2, high]]\n"),
              "flight.yaml:4: the value of altitude must be a number, got \"high\"");
    EXPECT_EQ(OnlyProblem("slots:\n  109: hot\n"),
              "flight.yaml:2: the value of slot 109 (a number or busy) must be a number, got \"hot\"");
    EXPECT_EQ(OnlyProblem("expect:\n  - {at: 1, window: 11241, shown: maybe}\n"),
              "flight.yaml:2: shown must be true or false, got \"maybe\"");
    EXPECT_EQ(OnlyProblem("expect:\n  - {at: soon, window: 11241, shown: true}\n"),
              "flight.yaml:2: a time in seconds must be a number, got \"soon\"");
    EXPECT_EQ(OnlyProblem("expect:\n  - {at: 1, gauge: ITV, element: 1.5, value: 0}\n"),
              "flight.yaml:2: the element number must be a whole number, got \"1.5\"");
    EXPECT_THAT(OnlyProblem("variables:\n  fuel: [[1, 2, 3]]\n"),
                HasSubstr("flight.yaml:2: a key of fuel must be a pair"));
}

TEST(ScenarioParser, NumbersBeyondTheirRangeAreRefusedNotWrapped) {
    EXPECT_EQ(OnlyProblem("slots:\n  99999999999999999999999: 1\n"),
              "flight.yaml:2: a slot number must lie between 0 and 115, got 99999999999999999999999");
    EXPECT_EQ(OnlyProblem("variables:\n  fuel: 1e400\n"),
              "flight.yaml:2: the value of fuel is beyond the range of numbers, got 1e400");
}

TEST(ScenarioParser, UnknownAndRepeatedKeysAreRefused) {
    EXPECT_EQ(OnlyProblem("settings: {frame_rate: 18, speed: 2}\n"),
              "flight.yaml:1: unknown key \"speed\" in settings (known: frame_rate, duration, real_time)");
    EXPECT_THAT(OnlyProblem("name: a\nclicks: []\n"), HasSubstr("flight.yaml:2: unknown key \"clicks\""));
    EXPECT_EQ(OnlyProblem("variables:\n  fuel: 1\n  fuel: 2\n"), "flight.yaml:3: variable fuel is given twice");
    EXPECT_EQ(OnlyProblem("slots:\n  109: 1\n  109: 0\n"), "flight.yaml:3: slot 109 is given twice");
    EXPECT_EQ(OnlyProblem("settings:\n  ? [1, 2]\n  : 3\n"), "flight.yaml:2: the keys of settings must be plain names");
}

TEST(ScenarioParser, UnitsMustSuitTheVariable) {
    EXPECT_EQ(OnlyProblem("variables:\n  fuel: {unit: km/h, value: 3}\n"),
              "flight.yaml:2: unknown unit \"km/h\" for fuel (known: raw, gal)");
}

TEST(ScenarioParser, KeysMustRunForwardInTime) {
    EXPECT_EQ(OnlyProblem("variables:\n  fuel: [[1, 0],\n         [0.5, 1]]\n"),
              "flight.yaml:3: the keys of fuel must be in time order: 0.5 s comes after 1 s");
    EXPECT_THAT(OnlyProblem("variables:\n  fuel: [[-1, 0]]\n"),
                HasSubstr("flight.yaml:2: a time in seconds must be a"));
}

TEST(ScenarioParser, TransponderCodeIsFourOctalDigits) {
    EXPECT_EQ(OnlyProblem("variables:\n  transponder_code: 1280\n"),
              "flight.yaml:2: transponder_code takes four digits 0 to 7, got \"1280\"");
    EXPECT_THAT(OnlyProblem("variables:\n  transponder_code: {interpolate: linear, value: 1200}\n"),
                HasSubstr("interpolate must be step for transponder_code"));
}

TEST(ScenarioParser, SlotsAndWindowsMustExist) {
    EXPECT_EQ(OnlyProblem("slots:\n  116: 1\n"), "flight.yaml:2: a slot number must lie between 0 and 115, got 116");
    EXPECT_THAT(OnlyProblem("expect:\n  - {at: 1, slot: -1, value: 0}\n"),
                HasSubstr("flight.yaml:2: the slot number must lie between 0 and 115"));
}

TEST(ScenarioParser, MouseEventsNameAnAreaOrAPoint) {
    EXPECT_THAT(OnlyProblem("mouse:\n  - {at: 1, gauge: ITV}\n"),
                HasSubstr("flight.yaml:2: a mouse event names either an area or a point"));
    EXPECT_THAT(OnlyProblem("mouse:\n  - {at: 1, gauge: ITV, area: 1, point: [3, 4]}\n"),
                HasSubstr("flight.yaml:2: a mouse event names either an area or a point"));
    EXPECT_EQ(OnlyProblem("mouse:\n  - {at: 1, gauge: ITV, area: 1, button: middle}\n"),
              "flight.yaml:2: the button must be left or right, got \"middle\"");
    EXPECT_EQ(OnlyProblem("mouse:\n  - {at: 1, gauge: ITV, area: 1, button: right, hold: 1}\n"),
              "flight.yaml:2: only the left button is held");
    EXPECT_EQ(OnlyProblem("mouse:\n  - {at: 1, gauge: ITV, area: 0}\n"),
              "flight.yaml:2: the area number must lie between 1 and 1000000, got 0");
}

TEST(ScenarioParser, ExpectationsAreAboutOneThing) {
    EXPECT_THAT(OnlyProblem("expect:\n  - {at: 1, gauge: ITV, element: 2, value: 1, lamp: lit}\n"),
                HasSubstr("flight.yaml:2: an expectation on a gauge element gives one of value, text or lamp"));
    EXPECT_THAT(OnlyProblem("expect:\n  - {at: 1, slot: 102, window: 3, value: 1}\n"),
                HasSubstr("flight.yaml:2: an expectation is about one gauge element, slot or window"));
    EXPECT_EQ(OnlyProblem("expect:\n  - {at: 1, gauge: ITV, value: 1}\n"),
              "flight.yaml:2: an expectation needs \"element\"");
    EXPECT_EQ(OnlyProblem("expect:\n  - {at: 1, gauge: ITV, element: 2, lamp: on}\n"),
              "flight.yaml:2: a lamp is lit or dark, got \"on\"");
    EXPECT_EQ(OnlyProblem("expect:\n  - {at: 1, gauge: ITV, element: 2, text: a, tolerance: 1}\n"),
              "flight.yaml:2: a tolerance goes with a value only");
}

TEST(ScenarioParser, NothingMayHappenAfterTheEnd) {
    EXPECT_EQ(OnlyProblem("settings: {duration: 2}\nexpect:\n  - {at: 3, window: 1, shown: true}\n"),
              "flight.yaml:3: the expectation at 3 s lies after the end of the run (2 s)");
    // A time that rounds to the last frame still belongs to the run.
    EXPECT_TRUE(ParseScenario("settings: {duration: 2}\nexpect:\n  - {at: 2.01, window: 1, shown: false}\n", "f").ok());
}

TEST(ScenarioParser, IntervalsAndReferencePicturesAreRefusedWhenFaulty) {
    const struct {
        const char* text;
        const char* problem;
    } cases[] = {
        {"expect:\n  - {during: [5, 3], window: 1, shown: true}\n",
         "flight.yaml:2: the interval runs backwards: from 5 s comes after to 3 s"},
        {"settings: {duration: 4}\nexpect:\n  - {within: [1, 6], slot: 3, value: 0}\n",
         "flight.yaml:3: the end of the expectation's interval at 6 s lies after the end of the run (4 s)"},
        {"expect:\n  - {during: [1, 2, 3], window: 1, shown: true}\n",
         "flight.yaml:2: an interval must be a pair [from, to] of times in seconds"},
        {"expect:\n  - {during: 2, window: 1, shown: true}\n",
         "flight.yaml:2: an interval must be a pair [from, to] of times in seconds"},
        {"expect:\n  - {at: 1, within: [1, 2], window: 1, shown: true}\n",
         "flight.yaml:2: an expectation needs one of \"at\", \"during\" or \"within\""},
        {"expect:\n  - {window: 1, shown: true}\n",
         "flight.yaml:2: an expectation needs one of \"at\", \"during\" or \"within\""},
        {"expect:\n  - {within: [-1, 2], window: 1, shown: true}\n",
         "flight.yaml:2: a time in seconds must be a finite number not below 0, got -1"},
        {"pictures:\n  - {at: 1, name: a, tolerance: 3}\n",
         "flight.yaml:2: \"tolerance\" goes with a reference picture only"},
        {"pictures:\n  - {at: 1, name: a, reference: a.png, tolerance: -1}\n",
         "flight.yaml:2: the tolerance in pixels must lie between 0 and 268435456, got -1"},
        {"pictures:\n  - {at: 1, name: a, reference: a.png, threshold: 2}\n",
         "flight.yaml:2: the threshold is a colour distance from 0 to 1, got 2"},
        {"pictures:\n  - {at: 1, name: a, reference: \"\"}\n",
         "flight.yaml:2: the reference picture must not be empty"},
        {"pictures:\n  - {at: 1, name: a, referense: a.png}\n",
         "flight.yaml:2: unknown key \"referense\" in a picture (known: at, name, reference, window, tolerance, "
         "threshold)"},
    };
    for (const auto& c : cases) EXPECT_EQ(OnlyProblem(c.text), c.problem) << c.text;
}

TEST(ScenarioParser, IntervalsAndReferencesAreRead) {
    const Scenario flight = Accepted(R"(pictures:
  - {at: 1, name: plain}
  - {at: 2, name: golden, reference: golden/a.png, window: 11241, tolerance: 40, threshold: 0.2}
expect:
  - {during: [1, 2.5], slot: 102, value: 0}
  - {within: [0.5, 3], gauge: test, element: 2, lamp: lit}
)");
    ASSERT_EQ(flight.pictures.size(), 2u);
    EXPECT_EQ(flight.pictures[0].reference, "");
    EXPECT_FALSE(flight.pictures[0].window);
    EXPECT_EQ(flight.pictures[1].reference, "golden/a.png");
    EXPECT_EQ(flight.pictures[1].window, 11241u);
    EXPECT_EQ(flight.pictures[1].tolerance, 40);
    EXPECT_EQ(flight.pictures[1].threshold, 0.2);
    ASSERT_EQ(flight.expectations.size(), 2u);
    EXPECT_EQ(flight.expectations[0].span, Expectation::Span::kDuring);
    EXPECT_EQ(flight.expectations[0].time, 1.0);
    EXPECT_EQ(flight.expectations[0].until, 2.5);
    EXPECT_EQ(flight.expectations[1].span, Expectation::Span::kWithin);
    EXPECT_EQ(flight.expectations[1].DescribeWhen(), "within 0.500 s to 3.000 s");
    EXPECT_EQ(flight.duration, 3.0) << "an interval's end counts towards the run's length";
}

TEST(ScenarioParser, EndlessRunsAreRefused) {
    EXPECT_THAT(OnlyProblem("settings: {duration: 1.0e9}\n"), HasSubstr("flight.yaml:1: the run would take"));
    EXPECT_THAT(OnlyProblem("settings: {duration: .inf}\n"), HasSubstr("must be a finite number"));
    EXPECT_THAT(OnlyProblem("settings: {frame_rate: 0}\n"), HasSubstr("the frame rate must be a finite number"));
}

TEST(ScenarioParser, EveryFaultIsReportedNotOnlyTheFirst) {
    const auto result = ParseScenario("variables:\n  nope: 1\n  fuel: x\nslots:\n  500: 1\n", "flight.yaml");
    ASSERT_EQ(result.problems.size(), 3u);
    EXPECT_EQ(result.problems[0].where.line, 2);
    EXPECT_EQ(result.problems[1].where.line, 3);
    EXPECT_EQ(result.problems[2].where.line, 5);
}

TEST(ScenarioParser, EmptyAndMissingFilesAreRefused) {
    EXPECT_EQ(OnlyProblem(""), "flight.yaml: the file holds no scenario");
    EXPECT_EQ(OnlyProblem("- 1\n- 2\n"), "flight.yaml:1: the scenario must be a mapping of keys to values");
    const auto missing = scenario::LoadScenario("/nonexistent/flight.yaml");
    ASSERT_EQ(missing.problems.size(), 1u);
    EXPECT_EQ(missing.problems[0].ToString(), "/nonexistent/flight.yaml: cannot open the scenario file");
}

// ---------------------------------------------------------------------------------------------------------------
// What is accepted

TEST(ScenarioParser, SettingsHaveDefaults) {
    const Scenario flight = Accepted("expect:\n  - {at: 4.5, slot: 10, value: 760}\n");
    EXPECT_EQ(flight.frameRate, 18.0);
    EXPECT_FALSE(flight.realTime);
    EXPECT_EQ(flight.duration, 4.5) << "the last time the file names";
    EXPECT_EQ(flight.LastFrame(), 81);
    ASSERT_EQ(flight.expectations.size(), 1u);
    EXPECT_EQ(std::get<scenario::NearValue>(flight.expectations[0].expected).tolerance, Scenario::kDefaultTolerance);
}

TEST(ScenarioParser, ReadsEverySection) {
    TempFolder folder;
    const auto path = folder.Write("flight.yaml", R"(name: Short hop
settings: {frame_rate: 30, duration: 10, real_time: true}
variables:
  air_temperature: 15
  on_ground: {interpolate: step, keys: [[0, 1], [5, 0]]}
  transponder_code: 7700
slots:
  109: 1
  70: [[0, 0], [2, busy], [3, 1]]
mouse:
  - {at: 1, gauge: ITV, area: 1, button: right}
  - {at: 2, gauge: ITV, point: [50, 190], hold: 0.5}
pictures:
  - {at: 3, name: cruise}
expect:
  - {at: 2, gauge: test, element: 2, value: 39, tolerance: 0.05}
  - {at: 2, gauge: test, element: 2, text: "Ttorm 39.0"}
  - {at: 2, gauge: SSOS_lamp, element: 2, lamp: dark}
  - {at: 2, slot: 102, value: 2}
  - {at: 2, window: 11241, shown: false}
trace:
  interval: 0.5
  columns:
    - fuel
    - {variable: ground_speed, unit: km/h}
    - {gauge: test, element: 2, text: true}
    - {slot: 10, label: setter}
    - {window: 11241}
)");
    const auto result = scenario::LoadScenario(path.string());
    for (const auto& problem : result.problems) ADD_FAILURE() << problem.ToString();
    const Scenario& flight = result.scenario;
    EXPECT_EQ(flight.name, "Short hop");
    EXPECT_EQ(flight.frameRate, 30.0);
    EXPECT_EQ(flight.duration, 10.0);
    EXPECT_TRUE(flight.realTime);

    ASSERT_EQ(flight.variables.size(), 3u);
    EXPECT_EQ(flight.variables[1].variable->token, 60);
    EXPECT_TRUE(flight.variables[1].step);
    EXPECT_TRUE(flight.variables[2].variable->digits());
    EXPECT_EQ(flight.variables[2].keys[0].value, 0x7700u);

    ASSERT_EQ(flight.slots.size(), 2u);
    EXPECT_EQ(flight.slots[1].slot, 70);
    ASSERT_EQ(flight.slots[1].steps.size(), 3u);
    EXPECT_TRUE(flight.slots[1].steps[1].busy);
    EXPECT_EQ(flight.slots[1].steps[2].value, 1.0);

    ASSERT_EQ(flight.mouse.size(), 2u);
    EXPECT_TRUE(flight.mouse[0].right);
    EXPECT_EQ(flight.mouse[0].area, 1);
    EXPECT_EQ(flight.mouse[1].area, 0);
    EXPECT_EQ(flight.mouse[1].x, 50);
    EXPECT_EQ(flight.mouse[1].y, 190);
    EXPECT_EQ(flight.mouse[1].holdSeconds, 0.5);
    EXPECT_EQ(flight.mouse[1].where.line, 12);

    ASSERT_EQ(flight.pictures.size(), 1u);
    EXPECT_EQ(flight.pictures[0].name, "cruise");

    ASSERT_EQ(flight.expectations.size(), 5u);
    EXPECT_EQ(std::get<scenario::NearValue>(flight.expectations[0].expected).tolerance, 0.05);
    EXPECT_EQ(std::get<scenario::SameText>(flight.expectations[1].expected).text, "Ttorm 39.0");
    EXPECT_TRUE(std::get<ElementSubject>(flight.expectations[1].subject).text);
    EXPECT_FALSE(std::get<scenario::LampLit>(flight.expectations[2].expected).lit);
    EXPECT_EQ(std::get<scenario::SlotSubject>(flight.expectations[3].subject).slot, 102);
    EXPECT_EQ(std::get<scenario::WindowSubject>(flight.expectations[4].subject).window, 11241u);
    EXPECT_EQ(flight.expectations[4].where.line, 20);

    EXPECT_EQ(flight.traceInterval, 0.5);
    ASSERT_EQ(flight.trace.size(), 5u);
    EXPECT_EQ(flight.trace[0].header, "fuel");
    EXPECT_EQ(flight.trace[1].header, "ground_speed [km/h]");
    EXPECT_EQ(flight.trace[2].subject, scenario::Subject(ElementSubject{"test", 2, true}));
    EXPECT_EQ(flight.trace[3].header, "setter");
    EXPECT_EQ(flight.trace[4].subject, scenario::Subject(scenario::WindowSubject{11241}));
}

TEST(ScenarioParser, TimesBelongToTheNearestFrame) {
    const Scenario flight = Accepted("settings: {frame_rate: 18, duration: 2}\n");
    EXPECT_EQ(flight.FrameAt(0.0), 0);
    EXPECT_EQ(flight.FrameAt(1.0), 18);
    EXPECT_EQ(flight.FrameAt(0.1), 2);  // 1.8 frames
    EXPECT_EQ(flight.FrameAt(0.02), 0);
    EXPECT_DOUBLE_EQ(flight.TimeOf(27), 1.5);
}

// The JSON Schema that editors check scenario files with (tests/scenarios/schema_test.py checks the files) knows
// the reader's variables, each with the reader's units.
TEST(ScenarioSchema, NamesTheReadersVariablesAndUnits) {
    std::ifstream file(std::string(AVRION_SOURCE_DIR) + "/host/scenario/scenario.schema.json");
    const nlohmann::json schema = nlohmann::json::parse(file);
    const nlohmann::json& variables = schema.at("properties").at("variables").at("properties");
    const std::vector<std::string> names = variables::Names();
    std::set<std::string> named;
    for (const auto& entry : variables.items()) named.insert(entry.key());
    EXPECT_EQ(named, std::set<std::string>(names.begin(), names.end()));
    EXPECT_EQ(schema.at("definitions").at("variableName").at("enum").get<std::set<std::string>>(), named);
    for (const std::string& name : names) {
        if (!variables.contains(name) || name == "transponder_code") continue;
        std::vector<std::string> units;
        for (const variables::Unit& unit : variables::UnitsOf(*variables::Find(name))) units.emplace_back(unit.name);
        EXPECT_EQ(
            variables.at(name).at("allOf").at(1).at("properties").at("unit").at("enum").get<std::vector<std::string>>(),
            units)
            << name;
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Interpolation

TEST(ScenarioKeys, LinearBetweenKeysAndHeldBeyondThem) {
    const Scenario flight = Accepted("variables:\n  altitude: [[1, 100], [3, 300], [4, 200]]\n");
    const auto& track = flight.variables.at(0);
    EXPECT_EQ(track.ValueAt(0.0), 100.0) << "the first key's value before it";
    EXPECT_EQ(track.ValueAt(1.0), 100.0);
    EXPECT_DOUBLE_EQ(track.ValueAt(1.5), 150.0);
    EXPECT_DOUBLE_EQ(track.ValueAt(2.0), 200.0);
    EXPECT_EQ(track.ValueAt(3.0), 300.0);
    EXPECT_DOUBLE_EQ(track.ValueAt(3.25), 275.0);
    EXPECT_EQ(track.ValueAt(4.0), 200.0);
    EXPECT_EQ(track.ValueAt(100.0), 200.0) << "the last key's value after it";
}

TEST(ScenarioKeys, TwoKeysAtOneTimeMakeAJump) {
    const Scenario flight = Accepted("variables:\n  token4: [[0, 0], [1, 0], [1, 5], [2, 5]]\n");
    const auto& track = flight.variables.at(0);
    EXPECT_EQ(track.ValueAt(0.999), 0.0);
    EXPECT_EQ(track.ValueAt(1.0), 5.0) << "the later key counts at the shared time";
    EXPECT_EQ(track.ValueAt(1.5), 5.0);
}

TEST(ScenarioKeys, SteppedTracksHoldEachKeyUntilTheNext) {
    const Scenario flight = Accepted("variables:\n  brakes: {interpolate: step, keys: [[1, 1], [2, 0], [3, 1]]}\n");
    const auto& track = flight.variables.at(0);
    EXPECT_EQ(track.KeyAt(0.5), -1);
    EXPECT_EQ(track.ValueAt(0.5), 1.0);
    EXPECT_EQ(track.KeyAt(1.0), 0);
    EXPECT_EQ(track.ValueAt(1.99), 1.0);
    EXPECT_EQ(track.ValueAt(2.0), 0.0);
    EXPECT_EQ(track.ValueAt(2.99), 0.0);
    EXPECT_EQ(track.KeyAt(7.0), 2);
    EXPECT_EQ(track.ValueAt(7.0), 1.0);
}

TEST(ScenarioKeys, AConstantIsOneKeyAtTheStart) {
    const Scenario flight = Accepted("variables:\n  fuel: 3000\n  engine1: {value: 90}\n");
    ASSERT_EQ(flight.variables.size(), 2u);
    for (const auto& track : flight.variables) {
        ASSERT_EQ(track.keys.size(), 1u);
        EXPECT_EQ(track.keys[0].time, 0.0);
    }
    EXPECT_EQ(flight.variables[0].ValueAt(12.0), 3000.0);
    EXPECT_EQ(flight.variables[1].ValueAt(12.0), 90.0);
}

TEST(ScenarioKeys, NotANumberAndInfinitiesPassThrough) {
    const Scenario flight = Accepted("variables:\n  air_temperature: .nan\n  fuel: -.inf\n");
    EXPECT_TRUE(std::isnan(flight.variables.at(0).ValueAt(1.0)));
    EXPECT_EQ(flight.variables.at(1).ValueAt(1.0), -INFINITY);
}

// ---------------------------------------------------------------------------------------------------------------
// Units

double RawOf(const std::string& variable, const std::string& unit, double value) {
    const Scenario flight =
        Accepted("variables:\n  " + variable + ": {unit: " + unit + ", value: " + std::to_string(value) + "}\n");
    return flight.variables.empty() ? NAN : flight.variables[0].ValueAt(0.0);
}

TEST(ScenarioUnits, ConvertToTheRawUnitsTheModuleReads) {
    EXPECT_DOUBLE_EQ(RawOf("latitude", "deg", 90.0), 40007000.0 / 4.0);
    EXPECT_DOUBLE_EQ(RawOf("latitude", "deg", -45.0), -40007000.0 / 8.0);
    EXPECT_DOUBLE_EQ(RawOf("longitude", "deg", 180.0), 140737488355328.0);  // 2^47
    EXPECT_DOUBLE_EQ(RawOf("ground_speed", "km/h", 36.0), 10.0);
    EXPECT_DOUBLE_EQ(RawOf("ground_speed", "kt", 100.0), 51.444444444444444);
    EXPECT_DOUBLE_EQ(RawOf("ground_speed", "m/s", 7.0), 7.0);
    EXPECT_DOUBLE_EQ(RawOf("altitude", "m", 1200.0), 1200.0);
    EXPECT_DOUBLE_EQ(RawOf("altitude", "ft", 1000.0), 304.8);
    EXPECT_DOUBLE_EQ(RawOf("mach", "mach", 0.8), 0.8 * 65536.0 / 3.2);
    EXPECT_DOUBLE_EQ(RawOf("pressure_setting", "mbar", 1013.0), 16208.0);
    EXPECT_DOUBLE_EQ(RawOf("pressure_setting", "mmHg", 760.0), 16208.0);
    EXPECT_DOUBLE_EQ(RawOf("fuel", "raw", 12.5), 12.5);
}

TEST(ScenarioUnits, KeysAreConvertedBeforeInterpolation) {
    const Scenario flight = Accepted("variables:\n  ground_speed: {unit: km/h, keys: [[0, 0], [2, 72]]}\n");
    EXPECT_DOUBLE_EQ(flight.variables.at(0).ValueAt(1.0), 10.0);
}

TEST(ScenarioUnits, EveryVariableHasRawOnlyItsOwnUnitsAndWordsForAPerson) {
    for (const variables::Variable& variable : variables::All()) {
        EXPECT_TRUE(variables::FindUnit(variable, "raw")) << variable.name;
        EXPECT_NE(std::string(variable.label), "") << variable.name;
        EXPECT_EQ(std::string(variable.label).find("token"), std::string::npos) << variable.name;
    }
    EXPECT_FALSE(variables::FindUnit(*variables::Find("fuel"), "deg"));
    EXPECT_FALSE(variables::FindUnit(*variables::Find("latitude"), "km/h"));
    const variables::Variable* aircraft = variables::Find("aircraft_var54");
    ASSERT_TRUE(aircraft);
    EXPECT_EQ(aircraft->access, variables::Access::kAircraft);
}

TEST(ScenarioUnits, TransponderDigitsAreReadAsHexadecimalGroups) {
    EXPECT_EQ(variables::ParseTransponderDigits("1200"), 0x1200u);
    EXPECT_EQ(variables::ParseTransponderDigits("7777"), 0x7777u);
    for (const char* bad : {"1280", "120", "12000", "12a0", ""})
        EXPECT_FALSE(variables::ParseTransponderDigits(bad)) << bad;
    EXPECT_EQ(variables::FormatTransponderDigits(0x0700), "0700");
}

// ---------------------------------------------------------------------------------------------------------------
// Checks against a module's gauges

// A gauge of a background, an icon and a text, with one parent area holding two child areas.
class HandMadeGauge : public testing::Test {
protected:
    void SetUp() override {
        background.header.kind = kElementStaticImage;
        icon.header.kind = kElementIcon;
        text.header.kind = kElementString;
        backgroundChildren[0] = &icon.header;
        backgroundChildren[1] = &text.header;
        background.header.children = backgroundChildren;
        roots[0] = &background.header;
        gauge.name = "panel";
        gauge.elements = roots;
        rects[0] = {kMouseParent, 10, 10, 100, 100, -1, 0, 0, 0, nullptr, 0};
        rects[1] = {kMouseChild, 0, 0, 20, 20, 5, 0, 0x20000000, 0, nullptr, 0};    // 10..29 on the gauge
        rects[2] = {kMouseChild, 50, 50, 20, 20, 5, 0, 0x80000000, 0, nullptr, 0};  // 60..79
        rects[3] = {kMouseCloseParent, 0, 0, 0, 0, -1, 0, 0, 0, nullptr, 0};
        rects[4] = {kMouseEnd, 0, 0, 0, 0, -1, 0, 0, 0, nullptr, 0};
        gauge.mouseRects = rects;
        gauges = {&gauge};
    }
    std::vector<std::string> Problems(const std::string& text) {
        const auto parsed = ParseScenario(text, "flight.yaml");
        for (const auto& problem : parsed.problems) ADD_FAILURE() << problem.ToString();
        std::vector<std::string> problems;
        for (const auto& problem : scenario::CheckAgainstGauges(parsed.scenario, gauges))
            problems.push_back(problem.ToString());
        return problems;
    }

    ELEMENT_STATIC_IMAGE background{};
    ELEMENT_ICON icon{};
    ELEMENT_STRING text{};
    ELEMENT_HEADER* backgroundChildren[3] = {};
    ELEMENT_HEADER* roots[2] = {};
    MOUSERECT rects[5] = {};
    GAUGEHDR gauge{};
    std::vector<GAUGEHDR*> gauges;
};

TEST_F(HandMadeGauge, WhatFitsIsAccepted) {
    EXPECT_THAT(Problems(R"(mouse:
  - {at: 0, gauge: panel, area: 2}
  - {at: 0, gauge: panel, point: [10, 10]}
  - {at: 0, gauge: panel, point: [79, 79]}
expect:
  - {at: 0, gauge: panel, element: 2, lamp: lit}
  - {at: 0, gauge: panel, element: 3, text: "x"}
  - {at: 0, gauge: panel, element: 3, value: 1}
trace: [{gauge: panel, element: 2}])"),
                testing::IsEmpty());
}

TEST_F(HandMadeGauge, UnknownGaugeIsRefusedOnItsLine) {
    EXPECT_THAT(Problems("expect:\n  - {at: 0, window: 1, shown: true}\n  - {at: 0, gauge: Panel, element: 2, "
                         "lamp: lit}\n"),
                testing::ElementsAre("flight.yaml:3: the module has no gauge \"Panel\" (its gauges: panel)"));
}

TEST_F(HandMadeGauge, PointOutsideEveryAreaIsRefused) {
    EXPECT_THAT(Problems("mouse:\n  - {at: 0, gauge: panel, point: [9, 10]}\n  - {at: 0, gauge: panel, point: [30, "
                         "30]}\n"),
                testing::ElementsAre("flight.yaml:2: the point (9, 10) lies outside every mouse area of panel",
                                     "flight.yaml:3: the point (30, 30) lies outside every mouse area of panel"));
}

TEST_F(HandMadeGauge, AreaBeyondTheListIsRefused) {
    EXPECT_THAT(Problems("mouse:\n  - {at: 0, gauge: panel, area: 3}\n"),
                testing::ElementsAre("flight.yaml:2: panel has 2 mouse areas; there is no area 3"));
}

TEST_F(HandMadeGauge, ElementsMustExistAndAnswerWhatIsAsked) {
    EXPECT_THAT(Problems(R"(expect:
  - {at: 0, gauge: panel, element: 4, value: 1}
  - {at: 0, gauge: panel, element: 1, value: 1}
  - {at: 0, gauge: panel, element: 2, text: "x"}
  - {at: 0, gauge: panel, element: 3, lamp: lit}
trace: [{gauge: panel, element: 5}])"),
                testing::ElementsAre("flight.yaml:2: panel has 3 elements; there is no element 4",
                                     "flight.yaml:3: element 1 of panel is a static picture, which has no value",
                                     "flight.yaml:4: element 2 of panel is an icon, which has no text",
                                     "flight.yaml:5: element 3 of panel is a text, which has no lamp picture",
                                     "flight.yaml:6: panel has 3 elements; there is no element 5"));
}

}  // namespace
