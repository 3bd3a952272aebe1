// The aircraft-systems frame update: power, lamps, clock, transponder, water
// and the landing model, fed by the simulator and the sibling modules.
#include "systems/aircraft_systems.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>

#include "frame/exports.h"
#include "sim/sibling_modules.h"
#include "sim/simulator.h"
#include "state/aircraft_state.h"
#include "state/settings.h"
#include "support/field_guard.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class AircraftSystemsTest : public testing::Test {
protected:
    void SetUp() override {
        ImportTable.panels.pointer = simulator.Panels();
        simulator.SetVariable(341, 15.0);  // air at 15 degrees
    }
    void TearDown() override { ImportTable.panels.pointer = nullptr; }

    // One frame: the snapshot, then this object's update.
    void Frame(int count = 1) {
        for (int i = 0; i < count; ++i) {
            simulator.BeginFrame();
            state->TakeSnapshot();
            systems.Update();
        }
    }
    void Power() { siblings.SetSlot(109, 1.0); }
    std::string Clock() const {
        const auto& d = systems.clockDigits;
        return std::to_string(d[3]) + std::to_string(d[2]) + ":" + std::to_string(d[1]) + std::to_string(d[0]);
    }
    void SetClock(int hourTens, int hourUnits, int minuteTens, int minuteUnits) {
        systems.clockDigits[3] = hourTens;
        systems.clockDigits[2] = hourUnits;
        systems.clockDigits[1] = minuteTens;
        systems.clockDigits[0] = minuteUnits;
    }

    Simulator simulator;
    SiblingModules siblings;
    std::unique_ptr<AircraftState> state = std::make_unique<AircraftState>();
    AircraftSystems& systems = *state->systems;
};

TEST_F(AircraftSystemsTest, WithoutBusPowerEverythingStaysDark) {
    systems.itvBreaker = 1;
    systems.waterLevelBreaker = 1;
    systems.waterCheckPressed = 1;
    systems.drainHeatSwitch = 2;
    systems.tailCheckPressed = systems.tailSignalBreaker = 1;
    systems.transponderMode = 3;
    SetClock(1, 2, 3, 4);
    siblings.SetSlot(103, 1.0);
    siblings.SetSlot(115, 1.0);
    Frame(200);
    EXPECT_EQ(Clock(), "00:00");
    for (auto lamp : systems.waterLamps) EXPECT_EQ(lamp, 0);
    EXPECT_EQ(systems.drainHeatLamp, 0);
    EXPECT_EQ(systems.tailLamp, 0);
    EXPECT_EQ(systems.biLamp, 0);
    EXPECT_EQ(systems.transponderReplyLamp, 0);
}

TEST_F(AircraftSystemsTest, ABusySlotReadsAsPower) {
    siblings.HoldSlot(109);
    Frame();
    EXPECT_EQ(systems.busPowered, 1);
}

struct SetterCase {
    double pressureSetting16;
    float setter;
};

class SetterStartTest : public AircraftSystemsTest, public testing::WithParamInterface<SetterCase> {};

TEST_P(SetterStartTest, TakesTheSimulatorsPressureOnceInMillimetres) {
    simulator.SetVariable(342, GetParam().pressureSetting16);
    Frame();
    EXPECT_EQ(systems.ardSetterPressure, GetParam().setter);
    double published = 0.0;
    ASSERT_TRUE(siblings.ReadSlot(10, published));
    EXPECT_EQ(published, GetParam().setter);
    simulator.SetVariable(342, 12000.0);
    Frame();
    EXPECT_EQ(systems.ardSetterPressure, GetParam().setter) << "taken only on the first frame";
}

INSTANTIATE_TEST_SUITE_P(Pressures, SetterStartTest,
                         testing::Values(SetterCase{16208.0, 760.0f}, SetterCase{15200.0, 712.0f},
                                         SetterCase{0.0, 0.0f}, SetterCase{kNaN, 0.0f},
                                         SetterCase{1e300, 2147483647.0f}, SetterCase{-1e300, -2147483648.0f}));

TEST_F(AircraftSystemsTest, BreakerWordReachesTheSiblings) {
    systems.gearVentBreaker = 1;
    Frame();
    double word = 0.0;
    ASSERT_TRUE(siblings.ReadSlot(102, word));
    EXPECT_EQ(word, 2.0);
    systems.doorHeatBreaker = 1;
    Frame();
    ASSERT_TRUE(siblings.ReadSlot(102, word));
    EXPECT_EQ(word, 3.0);
}

struct SsosCase {
    const char* description;
    double slot29, slot109, slot113, slot112, slot64;
    bool lamp, sirenArmed;
};

class SsosTest : public AircraftSystemsTest, public testing::WithParamInterface<SsosCase> {};

TEST_P(SsosTest, LampAndSirenFollowTheirInputs) {
    const SsosCase& c = GetParam();
    siblings.SetSlot(29, c.slot29);
    siblings.SetSlot(109, c.slot109);
    siblings.SetSlot(113, c.slot113);
    siblings.SetSlot(112, c.slot112);
    siblings.SetSlot(64, c.slot64);
    Frame();
    EXPECT_EQ(systems.ssosLampOn, c.lamp) << c.description;
    EXPECT_EQ(systems.ssosSirenArmed, c.sirenArmed) << c.description;
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, SsosTest,
    testing::Values(SsosCase{"all set", 1, 1, 1, 1, 1, true, true},
                    SsosCase{"third input alone", 1, 1, 0, 1, 0, true, false},
                    SsosCase{"second input alone", 1, 1, 1, 0, 1, true, true},
                    SsosCase{"neither of the last two", 1, 1, 0, 0, 1, false, false},
                    SsosCase{"no power", 1, 0, 1, 1, 1, false, false},
                    SsosCase{"first input clear", 0, 1, 1, 1, 1, false, false},
                    SsosCase{"a failed read counts as set", -1, 1, 0, -1, 0, true, false}));

TEST_F(AircraftSystemsTest, SsosReadsStopAtTheFirstThatDecides) {
    // With input 1 clear, busy later slots must not matter (they read as set).
    siblings.SetSlot(29, 0.0);
    siblings.HoldSlot(109);
    siblings.HoldSlot(113);
    Frame();
    EXPECT_EQ(systems.ssosLampOn, 0);
}

struct ClockCase {
    int start[4];  // hours tens, hours units, minutes tens, minutes units
    const char* after;
};

class ClockTest : public AircraftSystemsTest, public testing::WithParamInterface<ClockCase> {};

TEST_P(ClockTest, OneChangeOfTheMinuteSourceAdvancesOneMinute) {
    Power();
    systems.itvBreaker = 1;
    Frame();  // latches the minute source
    const auto& s = GetParam().start;
    SetClock(s[0], s[1], s[2], s[3]);
    simulator.SetVariable(4, 1.0);
    Frame();
    EXPECT_EQ(Clock(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Carries, ClockTest,
                         testing::Values(ClockCase{{2, 3, 5, 9}, "00:00"}, ClockCase{{0, 9, 5, 9}, "10:00"},
                                         ClockCase{{1, 2, 3, 4}, "12:35"}, ClockCase{{1, 9, 5, 9}, "20:00"},
                                         ClockCase{{2, 1, 3, 0}, "21:31"}));

TEST_F(AircraftSystemsTest, AMinuteSourceChangingEveryFrameCountsEveryOtherFrame) {
    Power();
    systems.itvBreaker = 1;
    for (int frame = 0; frame < 10; ++frame) {
        simulator.SetVariable(4, frame);
        Frame();
    }
    EXPECT_EQ(Clock(), "00:05");
}

TEST_F(AircraftSystemsTest, AChangeWhileUnpoweredCountsOnTheFirstPoweredFrame) {
    Power();
    systems.itvBreaker = 1;
    Frame();
    systems.itvBreaker = 0;
    simulator.SetVariable(4, 7.0);
    Frame();
    systems.itvBreaker = 1;
    Frame();
    EXPECT_EQ(Clock(), "00:01");
}

TEST_F(AircraftSystemsTest, ReplyLampBlinksThreeFramesAfterEveryThreeSeconds) {
    Power();
    siblings.SetSlot(115, 1.0);
    simulator.frameRate = 8.0;  // 0.125 s a frame, exact in binary
    systems.transponderMode = 2;
    Frame();  // starts the timer
    Frame(24);
    EXPECT_EQ(systems.transponderReplyLamp, 0) << "3.0 s is not yet more than 3.0 s";
    int litFrames = 0;
    for (int i = 0; i < 10; ++i) {
        Frame();
        litFrames += systems.transponderReplyLamp;
    }
    EXPECT_EQ(litFrames, 3);
    systems.transponderMode = 5;
    Frame(100);
    EXPECT_EQ(systems.transponderReplyLamp, 0);
}

struct WaterCase {
    double quantity;
    int litLamp;
};

class WaterBandTest : public AircraftSystemsTest, public testing::WithParamInterface<WaterCase> {};

TEST_P(WaterBandTest, OneLampShowsTheBandOfTheQuantity) {
    Power();
    systems.waterLevelBreaker = 1;
    systems.waterQuantity = GetParam().quantity + systems.settings->waterPerFrame;
    Frame();
    ASSERT_DOUBLE_EQ(systems.waterQuantity, GetParam().quantity);
    for (int lamp = 0; lamp < 4; ++lamp) EXPECT_EQ(systems.waterLamps[lamp], lamp == GetParam().litLamp) << lamp;
}

INSTANTIATE_TEST_SUITE_P(Bands, WaterBandTest,
                         testing::Values(WaterCase{10, 0}, WaterCase{125, 1}, WaterCase{374, 1}, WaterCase{375, 2},
                                         WaterCase{749, 2}, WaterCase{750, 3}, WaterCase{1000, 3}));

TEST_F(AircraftSystemsTest, WaterRunsOutAtExactlyZero) {
    systems.waterQuantity = systems.settings->waterPerFrame;
    Frame();
    EXPECT_EQ(systems.waterQuantity, 0.0);
    Frame();
    EXPECT_EQ(systems.waterQuantity, 0.0);
}

TEST_F(AircraftSystemsTest, TheCheckButtonLightsEveryWaterLamp) {
    Power();
    systems.waterCheckPressed = 1;
    Frame();
    for (auto lamp : systems.waterLamps) EXPECT_EQ(lamp, 1);
}

TEST_F(AircraftSystemsTest, DrainTailAndBiLamps) {
    Power();
    for (int position : {0, 2}) {
        systems.drainHeatSwitch = position;
        Frame();
        EXPECT_EQ(systems.drainHeatLamp, 1) << position;
    }
    systems.drainHeatSwitch = 1;
    Frame();
    EXPECT_EQ(systems.drainHeatLamp, 0);

    systems.tailCheckPressed = 1;
    Frame();
    EXPECT_EQ(systems.tailLamp, 0) << "needs the tail-signal breaker";
    systems.tailSignalBreaker = 1;
    Frame();
    EXPECT_EQ(systems.tailLamp, 1);

    siblings.SetSlot(103, 0.5);
    Frame();
    EXPECT_EQ(systems.biLamp, 1);
    siblings.HoldSlot(103);
    Frame();
    EXPECT_EQ(systems.pressureSignal, -1.0);
    EXPECT_EQ(systems.biLamp, 0);
}

// The frame never writes what the gauges own: the switches, breakers, held buttons, the transponder mode and
// the setter window flag. Random settings of them, with and without power, so that every lamp loop runs with
// every value it could leave one entry past its end.
TEST_F(AircraftSystemsTest, AFrameWritesNoFieldOfTheGauges) {
    std::mt19937 random(4);
    auto flag = [&random] { return static_cast<std::uint8_t>(random() % 2); };
    for (int round = 0; round < 64; ++round) {
        SCOPED_TRACE(round);
        siblings.SetSlot(109, round % 4 == 0 ? 0.0 : 1.0);
        for (int slot : {29, 64, 103, 112, 113, 114, 115}) siblings.SetSlot(slot, flag());
        for (std::uint8_t* field :
             {&systems.ardWindowOpen, &systems.itvBreaker, &systems.wingLightsBreaker, &systems.doorHeatBreaker,
              &systems.gearVentBreaker, &systems.ardHeatBreaker, &systems.waterLevelBreaker,
              &systems.waterPump1Breaker, &systems.waterPump2Breaker, &systems.tailSignalBreaker,
              &systems.waterCheckPressed, &systems.drainCheckPressed, &systems.tailCheckPressed})
            *field = flag();
        systems.drainHeatSwitch = static_cast<std::int32_t>(random() % 3);
        systems.transponderMode = static_cast<std::int32_t>(random() % 7);
        systems.waterQuantity = static_cast<double>(random() % 1000);
        const auto before = field_guard::Bytes(systems);
        Frame();
        field_guard::ExpectUnchanged(
            before, systems,
            {GUARDED_FIELD(systems, transponderMode), GUARDED_FIELD(systems, owner),
             GUARDED_FIELD(systems, ardWindowOpen), GUARDED_FIELD(systems, itvBreaker),
             GUARDED_FIELD(systems, wingLightsBreaker), GUARDED_FIELD(systems, doorHeatBreaker),
             GUARDED_FIELD(systems, gearVentBreaker), GUARDED_FIELD(systems, ardHeatBreaker),
             GUARDED_FIELD(systems, waterLevelBreaker), GUARDED_FIELD(systems, waterPump1Breaker),
             GUARDED_FIELD(systems, waterPump2Breaker), GUARDED_FIELD(systems, drainHeatSwitch),
             GUARDED_FIELD(systems, tailSignalBreaker), GUARDED_FIELD(systems, waterCheckPressed),
             GUARDED_FIELD(systems, drainCheckPressed), GUARDED_FIELD(systems, tailCheckPressed),
             GUARDED_FIELD(systems, settings)});
    }
}

// --- The landing model ---

class LandingTest : public AircraftSystemsTest {
protected:
    void SetUp() override {
        AircraftSystemsTest::SetUp();
        for (int token : {625, 644, 663}) simulator.SetVariable(token, 80.0);
    }
    void Airborne() {
        simulator.SetVariable(60, 0.0);
        Frame();
    }
    void TouchDown(double markAt) {
        simulator.SetVariable(54 /*unused*/, 0.0);
        simulator.SetAircraftVariable(54, 63, 0, markAt);
        simulator.SetVariable(60, 1.0);
        Frame();
    }
    void Brake(double speedKmh) {
        simulator.SetVariable(832, speedKmh / 3.6);
        simulator.SetVariable(322, 1.0);
        Frame();
        simulator.SetVariable(322, 0.0);
        Frame();
    }
    void RollTo(double mark) {
        simulator.SetAircraftVariable(54, 63, 0, mark);
        Frame();
    }
    void EnginesOff() {
        for (int token : {625, 644, 663}) simulator.SetVariable(token, 0.0);
        simulator.SetVariable(832, 0.0);
        Frame();
    }
    int WindowToggles() const {
        int toggles = 0;
        for (const auto& action : simulator.actions())
            toggles += action.slot == 35 && action.first == 11241 ? 1 : 0;
        return toggles;
    }
};

TEST_F(LandingTest, WorkedLandingHeatsTheBrakesTo18AndLeavesNoMessage) {
    Airborne();
    TouchDown(0.0);
    Brake(200.0);
    Brake(100.0);
    EXPECT_DOUBLE_EQ(systems.brakeTemperature, 18.0);
    RollTo(40.0);
    EnginesOff();
    EXPECT_EQ(systems.messageCount, 0);
    EXPECT_EQ(WindowToggles(), 0);
}

TEST_F(LandingTest, HeldBrakesHeatOnceAndSlowBrakingAddsNothing) {
    Airborne();
    TouchDown(0.0);
    simulator.SetVariable(832, 200.0 / 3.6);
    simulator.SetVariable(322, 1.0);
    Frame(5);
    EXPECT_DOUBLE_EQ(systems.brakeTemperature, 17.0);
    simulator.SetVariable(322, 0.0);
    Frame();
    Brake(2.0);
    EXPECT_DOUBLE_EQ(systems.brakeTemperature, 17.0) << "2 km/h is not above 2";
}

TEST_F(LandingTest, FrostKeepsTheBrakesCold) {
    simulator.SetVariable(341, -5.0);
    Airborne();
    TouchDown(0.0);
    Brake(200.0);
    EXPECT_EQ(systems.brakeTemperature, 0.0);
}

TEST_F(LandingTest, StartingOnTheGroundIsNoTouchdown) {
    simulator.SetVariable(60, 1.0);
    Frame();
    EXPECT_EQ(systems.landingPhase, 0);
}

struct CheckCase {
    double temperature;
    int code;  // -1: none
};

class AfterLandingCheckTest : public LandingTest, public testing::WithParamInterface<CheckCase> {};

TEST_P(AfterLandingCheckTest, OverheatedBrakesLeaveOneMessage) {
    Airborne();
    TouchDown(0.0);
    RollTo(31.0);
    ASSERT_EQ(systems.landingPhase, 2);
    systems.brakeTemperature = GetParam().temperature;
    EnginesOff();
    EXPECT_EQ(systems.landingPhase, 0);
    if (GetParam().code < 0) {
        EXPECT_EQ(systems.messageCount, 0);
        EXPECT_EQ(WindowToggles(), 0);
    } else {
        ASSERT_EQ(systems.messageCount, 1);
        EXPECT_EQ(systems.messages[0], GetParam().code);
        EXPECT_EQ(WindowToggles(), 1) << "the messages window opens once the engines are off";
    }
}

INSTANTIATE_TEST_SUITE_P(Boundaries, AfterLandingCheckTest,
                         testing::Values(CheckCase{36.0, -1}, CheckCase{36.5, 0}, CheckCase{45.0, 0},
                                         CheckCase{45.5, 1}, CheckCase{54.0, 1}, CheckCase{54.1, 2},
                                         CheckCase{500.0, 2}));

TEST_F(LandingTest, TheCheckWaitsWhileTwoEnginesRun) {
    Airborne();
    TouchDown(0.0);
    RollTo(31.0);
    systems.brakeTemperature = 50.0;
    Frame(10);
    EXPECT_EQ(systems.landingPhase, 2);
    simulator.SetVariable(625, 0.0);
    Frame();
    EXPECT_EQ(systems.landingPhase, 2) << "two engines still run";
    simulator.SetVariable(644, 0.0);
    Frame();
    EXPECT_EQ(systems.landingPhase, 0);
    EXPECT_EQ(systems.messageCount, 1);
    EXPECT_EQ(WindowToggles(), 0) << "the window waits for the last engine";
    EnginesOff();
    EXPECT_EQ(WindowToggles(), 1);
    Frame(10);
    EXPECT_EQ(WindowToggles(), 1) << "opened once only";
}

TEST_F(LandingTest, FansRunningFromTheMarkCoolTheBrakesCompletely) {
    systems.gearVentBreaker = 1;
    siblings.SetSlot(115, 1.0);
    siblings.SetSlot(114, 1.0);
    Airborne();
    TouchDown(0.0);
    systems.brakeTemperature = 80.0;
    RollTo(-31.0);
    EXPECT_DOUBLE_EQ(systems.brakeTemperature, 60.0);
    EXPECT_EQ(systems.fansCooled, 1);
    EnginesOff();
    EXPECT_EQ(systems.brakeTemperature, 0.0);
    EXPECT_EQ(systems.messageCount, 0);
}

TEST_F(LandingTest, FansStoppedBeforeTheCheckLeaveTheHeat) {
    systems.gearVentBreaker = 1;
    siblings.SetSlot(115, 1.0);
    siblings.SetSlot(114, 1.0);
    Airborne();
    TouchDown(0.0);
    systems.brakeTemperature = 80.0;
    RollTo(31.0);
    siblings.SetSlot(114, 0.0);
    EnginesOff();
    EXPECT_DOUBLE_EQ(systems.brakeTemperature, 60.0);
    ASSERT_EQ(systems.messageCount, 1);
    EXPECT_EQ(systems.messages[0], 2);
}

// The rate and the boundary of every cooling and heating rule, one frame or a thousand at a time: a changed
// rate, a comparison made strict or loose, or a floor taken away shows as a different temperature.
struct TemperatureCase {
    const char* description;
    bool onGround;
    double airTempC;
    double token333;  // the fast cooling above 100
    double start;
    int frames;
    double expected;
};

class BrakeTemperatureTest : public LandingTest, public testing::WithParamInterface<TemperatureCase> {};

TEST_P(BrakeTemperatureTest, CoolsInTheAirAndFreezesAtZeroDegrees) {
    const TemperatureCase& c = GetParam();
    simulator.SetVariable(60, c.onGround ? 1.0 : 0.0);
    simulator.SetVariable(341, c.airTempC);
    simulator.SetVariable(333, c.token333);
    Frame();  // a touchdown, if any, is behind us
    systems.brakeTemperature = c.start;
    Frame(c.frames);
    EXPECT_NEAR(systems.brakeTemperature, c.expected, 1e-9) << c.description;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, BrakeTemperatureTest,
    testing::Values(TemperatureCase{"slow cooling", false, 15.0, 100.0, 10.0, 1000, 10.0 - 1000 * 0.00019},
                    TemperatureCase{"fast cooling", false, 15.0, 100.001, 10.0, 1000, 10.0 - 1000 * 0.0019},
                    TemperatureCase{"one frame may go below zero", false, 15.0, 0.0, 0.0001, 1, 0.0001 - 0.00019},
                    TemperatureCase{"and the next is zero", false, 15.0, 0.0, 0.0001, 2, 0.0},
                    TemperatureCase{"no cooling on the ground", true, 15.0, 500.0, 10.0, 1000, 10.0},
                    TemperatureCase{"0 degrees is frost", true, 0.0, 0.0, 10.0, 1, 0.0},
                    TemperatureCase{"just above 0 is not", true, 0.001, 0.0, 10.0, 1, 10.0},
                    TemperatureCase{"frost in the air too", false, -0.001, 0.0, 10.0, 1, 0.0}));

// The first application after a flight adds the mass over 70 t and the air temperature; every application
// adds a hundredth of the speed.
TEST_F(LandingTest, TheFirstApplicationAddsTheExcessMassAndTheAir) {
    simulator.SetVariable(386, 5000.0);  // 15 052.5 kg of fuel: with the payload and the empty aircraft, 70.6025 t
    Airborne();
    TouchDown(0.0);
    Brake(150.0);
    const double payloadTonnes = systems.settings->payloadKg / 1000.0;
    const double excess = 15.0525 + payloadTonnes + 55.1 - 70.0;
    EXPECT_NEAR(systems.brakeTemperature, 1.5 + excess + 15.0, 1e-9);
    Brake(50.0);
    EXPECT_NEAR(systems.brakeTemperature, 2.0 + excess + 15.0, 1e-9);
}

// The mark is passed at more than 30 either way; the fans then take 20 off, down to 0 and never below.
struct MarkCase {
    double rolled;
    bool fans;
    double start;
    int phase;
    double expected;
};

class MarkTest : public LandingTest, public testing::WithParamInterface<MarkCase> {};

TEST_P(MarkTest, PassingTheMarkCoolsByTwentyWithTheFans) {
    const MarkCase& c = GetParam();
    systems.gearVentBreaker = c.fans ? 1 : 0;
    siblings.SetSlot(115, 1.0);
    siblings.SetSlot(114, 1.0);
    Airborne();
    TouchDown(100.0);
    systems.brakeTemperature = c.start;
    RollTo(100.0 + c.rolled);
    EXPECT_EQ(systems.landingPhase, c.phase);
    EXPECT_DOUBLE_EQ(systems.brakeTemperature, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, MarkTest,
                         testing::Values(MarkCase{30.0, true, 80.0, 1, 80.0}, MarkCase{-30.0, true, 80.0, 1, 80.0},
                                         MarkCase{30.001, true, 80.0, 2, 60.0},
                                         MarkCase{-30.001, true, 80.0, 2, 60.0},
                                         MarkCase{30.001, false, 80.0, 2, 80.0},
                                         MarkCase{30.001, true, 20.0, 2, 0.0}, MarkCase{30.001, true, 20.5, 2, 0.5}));

// An engine runs above 50, not at 50: the check runs once fewer than two do.
TEST_F(LandingTest, AnEngineAtExactly50HasRunDown) {
    Airborne();
    TouchDown(0.0);
    RollTo(31.0);
    systems.brakeTemperature = 50.0;
    simulator.SetVariable(625, 50.0001);
    simulator.SetVariable(644, 50.0001);
    simulator.SetVariable(663, 0.0);
    Frame();
    EXPECT_EQ(systems.landingPhase, 2) << "two still run";
    simulator.SetVariable(644, 50.0);
    Frame();
    EXPECT_EQ(systems.landingPhase, 0);
    EXPECT_EQ(systems.messageCount, 1);
}

TEST_F(LandingTest, ReverseOffBelow100RaisesCode3Once) {
    simulator.SetVariable(60, 1.0);
    simulator.SetVariable(832, 90.0 / 3.6);
    siblings.SetSlot(70, 1.0);
    Frame(5);
    ASSERT_EQ(systems.messageCount, 1);
    EXPECT_EQ(systems.messages[0], 3);
}

TEST_F(LandingTest, Code3NeedsTheGroundAndASlowSpeed) {
    siblings.SetSlot(70, 1.0);
    simulator.SetVariable(832, 90.0 / 3.6);
    Frame();
    simulator.SetVariable(60, 1.0);
    simulator.SetVariable(832, 100.0 / 3.6);
    Frame();
    EXPECT_EQ(systems.messageCount, 0);
}

TEST_F(LandingTest, AThirdMessageIsDroppedAndNothingIsWrittenPastTwo) {
    simulator.SetVariable(60, 1.0);
    siblings.SetSlot(70, 1.0);
    Frame();  // code 3
    systems.code3Raised = 0;
    Frame();  // code 3 again
    systems.code3Raised = 0;
    Frame();  // no room
    EXPECT_EQ(systems.messageCount, 2);
    EXPECT_EQ(systems.messages[0], 3);
    EXPECT_EQ(systems.messages[1], 3);
}

TEST_F(AircraftSystemsTest, ValuesThatAreNotNumbersPassWithoutHarm) {
    Power();
    systems.itvBreaker = 1;
    for (int token : {832, 341, 342, 386, 4, 333, 625, 644, 663}) simulator.SetVariable(token, kNaN);
    simulator.SetAircraftVariable(54, 63, 0, kNaN);
    for (int slot : {29, 64, 70, 103, 112, 113, 114, 115}) siblings.SetSlot(slot, kNaN);
    simulator.SetVariable(60, 1.0);
    simulator.SetVariable(322, 1.0);
    Frame(3);
    simulator.SetVariable(60, 0.0);
    Frame(3);
    simulator.SetVariable(60, 1.0);
    Frame(3);
    EXPECT_LE(systems.messageCount, 2);
    EXPECT_GE(systems.messageCount, 0);
    for (int digit : systems.clockDigits) EXPECT_TRUE(digit >= 0 && digit <= 9);
}

}  // namespace
