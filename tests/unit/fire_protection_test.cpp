// The PPS panel: its lamp rules, siren arming and flash cycle, fed by the
// sibling modules' slots and the simulator clock; then its gauge's handlers
// with the sounds they play, heard through the fake audio platform.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <random>
#include <set>
#include <string>

#include "airdata/air_data_computer.h"
#include "fake/fake_platform.h"
#include "frame/exports.h"
#include "frame/gauge_table.h"
#include "frame/module_objects.h"
#include "pps/fire_protection_system.h"
#include "sim/gauge_access.h"
#include "sim/sibling_modules.h"
#include "sim/simulator.h"
#include "support/field_guard.h"
#include "support/temp_folder.h"
#include "support/wav_file.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr int kClockToken = 604;

constexpr int kPowerSlot = 109;
constexpr int kSirenEnableSlot = 64;
constexpr int kSirenInhibitSlot = 104;
constexpr int kFuelValveSlot1 = 105;

using Lamps = std::set<int>;

Lamps LitLamps(const FireProtectionSystem& panel) {
    Lamps lit;
    for (int i = 0; i < FireProtectionSystem::kLampCount; ++i) {
        EXPECT_LE(panel.lamps[i], 1) << "lamp " << i;
        if (panel.lamps[i] != 0) lit.insert(i);
    }
    return lit;
}

Lamps Range(int first, int last, Lamps lamps = {}) {
    for (int i = first; i <= last; ++i) lamps.insert(i);
    return lamps;
}

class FireProtectionTest : public testing::Test {
protected:
    void SetUp() override {
        ImportTable.panels.pointer = simulator.Panels();
        // The clock moves only when a test says so.
        simulator.frameRate = 0.0;
        simulator.SetVariable(kClockToken, 100.0);
        // Fuel valves open, unless a test closes one.
        for (int engine = 0; engine < 3; ++engine) siblings.SetSlot(kFuelValveSlot1 + engine, 1.0);
    }
    void TearDown() override { ImportTable.panels.pointer = nullptr; }

    void Frame(int count = 1) {
        for (int i = 0; i < count; ++i) {
            simulator.BeginFrame();
            panel.Update();
        }
    }
    void FrameAt(double clock) {
        simulator.SetVariable(kClockToken, clock);
        Frame();
    }
    void PowerOn() {
        siblings.SetSlot(kPowerSlot, 1.0);
        panel.powerSwitch = 1;
    }

    Simulator simulator;
    SiblingModules siblings;
    FireProtectionSystem panel;
};

TEST_F(FireProtectionTest, StartsSwitchedOffWithTheSirenSwitchOnAndNothingLatched) {
    EXPECT_EQ(panel.owner, nullptr);
    EXPECT_FALSE(panel.flashTimer.running);
    EXPECT_EQ(panel.flashTimer.startTime, 0.0);
    EXPECT_EQ(LitLamps(panel), Lamps{});
    EXPECT_EQ(panel.neutralGasPressed, 0);
    EXPECT_EQ(panel.apuAgentPressed, 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(panel.stagePressed[i], 0);
        EXPECT_EQ(panel.engineAgentPressed[i], 0);
        EXPECT_EQ(panel.stageFired[i], 0);
        EXPECT_EQ(panel.engineAgentOn[i], 0);
    }
    EXPECT_EQ(panel.powerSwitch, 0);
    EXPECT_EQ(panel.sirenSwitch, 1);
    EXPECT_EQ(panel.smokeTestButton, 0);
    EXPECT_EQ(panel.extinguisherTestButton, 0);
    EXPECT_EQ(panel.lampTestButton, 0);
    EXPECT_EQ(panel.compartmentSelector, 0);
    EXPECT_EQ(panel.sensorGroupSelector, 0);
    EXPECT_EQ(panel.sirenArmed, 0);
    EXPECT_EQ(panel.flashRequest, 0);
    EXPECT_EQ(panel.flashState, 0);
    EXPECT_EQ(panel.powered, 0);
    EXPECT_EQ(panel.neutralGasOn, 0);
    EXPECT_EQ(panel.apuAgentOn, 0);
}

TEST_F(FireProtectionTest, TheOwnerIsTheAircraftState) {
    EXPECT_EQ(aircraftState.fireProtection->owner, &aircraftState);
}

// ---------------------------------------------------------------------------------------------------------------
// Lamps

struct LampCase {
    const char* description;
    double power;  // slot 109
    double fuelValves[3];
    int powerSwitch, lampTest, smokeTest, extinguisherTest, sirenSwitch;
    int neutralGasOn, apuAgentOn, stageFired, engineAgentOn;  // stage and engine: 1-based index, 0 none
    int sensorGroup, compartment;
    Lamps lit;
};

class LampRuleTest : public FireProtectionTest, public testing::WithParamInterface<LampCase> {};

TEST_P(LampRuleTest, LampsFollowTheirRules) {
    const LampCase& c = GetParam();
    siblings.SetSlot(kPowerSlot, c.power);
    for (int engine = 0; engine < 3; ++engine) siblings.SetSlot(kFuelValveSlot1 + engine, c.fuelValves[engine]);
    panel.powerSwitch = static_cast<std::uint8_t>(c.powerSwitch);
    panel.lampTestButton = static_cast<std::uint8_t>(c.lampTest);
    panel.smokeTestButton = static_cast<std::uint8_t>(c.smokeTest);
    panel.extinguisherTestButton = static_cast<std::uint8_t>(c.extinguisherTest);
    panel.sirenSwitch = static_cast<std::uint8_t>(c.sirenSwitch);
    panel.neutralGasOn = static_cast<std::uint8_t>(c.neutralGasOn);
    panel.apuAgentOn = static_cast<std::uint8_t>(c.apuAgentOn);
    if (c.stageFired != 0) panel.stageFired[c.stageFired - 1] = 1;
    if (c.engineAgentOn != 0) panel.engineAgentOn[c.engineAgentOn - 1] = 1;
    panel.sensorGroupSelector = c.sensorGroup;
    panel.compartmentSelector = c.compartment;
    Frame();
    EXPECT_EQ(LitLamps(panel), c.lit) << c.description;
}

const Lamps kAll = Range(0, 28);
const Lamps kSmoke = Range(12, 20, {5});

INSTANTIATE_TEST_SUITE_P(
    Rules, LampRuleTest,
    testing::Values(
        LampCase{"no power, lamp test held", 0.0, {0, 0, 0}, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, {}},
        LampCase{"no power, switch off", 0.0, {1, 1, 1}, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, {}},
        LampCase{"switch off", 1.0, {1, 1, 1}, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, {0}},
        LampCase{"switch off, lamp test held", 1.0, {1, 1, 1}, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, {0}},
        LampCase{"switch off, every test and latch", 1.0, {0, 0, 0}, 0, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, {0}},
        LampCase{"switch on, nothing pressed", 1.0, {1, 1, 1}, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, {}},
        LampCase{"engine 2 fuel closed", 1.0, {1, 0, 1}, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, {3}},
        LampCase{"all fuel closed", 1.0, {0, 0, 0}, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, {2, 3, 4}},
        LampCase{"fuel slots not a number", 1.0, {kNaN, kNaN, kNaN}, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, {}},
        LampCase{"fuel slots infinite", 1.0, {kInfinity, -kInfinity, -0.0}, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, {4}},
        LampCase{"lamp test lights everything", 1.0, {1, 1, 1}, 1, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, kAll},
        LampCase{"extinguisher test", 1.0, {1, 1, 1}, 1, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, {23, 24, 25}},
        LampCase{"smoke test, siren on, lit step", 1.0, {1, 1, 1}, 1, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, kSmoke},
        LampCase{"smoke test, siren off", 1.0, {1, 1, 1}, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, kSmoke},
        LampCase{"neutral gas released", 1.0, {1, 1, 1}, 1, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, {21}},
        LampCase{"APU agent valve open", 1.0, {1, 1, 1}, 1, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, {22}},
        LampCase{"stage 2 fired", 1.0, {1, 1, 1}, 1, 0, 0, 0, 1, 0, 0, 2, 0, 0, 0, {24}},
        LampCase{"engine 3 agent valve open", 1.0, {1, 1, 1}, 1, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, {28}},
        LampCase{"selectors at their ends", 1.0, {1, 1, 1}, 1, 0, 0, 0, 1, 0, 0, 0, 0, 7, 4, {}},
        LampCase{"power slot not a number", kNaN, {1, 1, 1}, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, {0}},
        LampCase{"power slot infinite", -kInfinity, {1, 1, 1}, 1, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, {23, 24, 25}}));

// The frame writes the lamps, the arming, the flash cycle and the power flag and nothing else: the switches,
// buttons, selectors and latches are the gauge's. Random settings of them, fuel valves and power, so that every
// lamp loop runs with every value it could leave one entry past its end.
TEST_F(FireProtectionTest, AFrameWritesNoFieldOfTheGauge) {
    std::mt19937 random(723);
    auto flag = [&random] { return static_cast<std::uint8_t>(random() % 2); };
    for (int round = 0; round < 64; ++round) {
        SCOPED_TRACE(round);
        siblings.SetSlot(kPowerSlot, round % 8 == 0 ? 0.0 : 1.0);
        for (int engine = 0; engine < 3; ++engine) siblings.SetSlot(kFuelValveSlot1 + engine, flag());
        for (std::uint8_t* field : {&panel.neutralGasPressed, &panel.apuAgentPressed, &panel.powerSwitch,
                                    &panel.sirenSwitch, &panel.smokeTestButton, &panel.extinguisherTestButton,
                                    &panel.lampTestButton, &panel.neutralGasOn, &panel.apuAgentOn})
            *field = flag();
        for (int i = 0; i < 3; ++i) {
            panel.stagePressed[i] = flag();
            panel.engineAgentPressed[i] = flag();
            panel.stageFired[i] = flag();
            panel.engineAgentOn[i] = flag();
        }
        panel.compartmentSelector = static_cast<std::int32_t>(random() % 5);
        panel.sensorGroupSelector = static_cast<std::int32_t>(random() % 8);
        const auto before = field_guard::Bytes(panel);
        FrameAt(100.0 + round);
        field_guard::ExpectUnchanged(
            before, panel,
            {GUARDED_FIELD(panel, owner), GUARDED_FIELD(panel, neutralGasPressed),
             GUARDED_FIELD(panel, apuAgentPressed), GUARDED_FIELD(panel, stagePressed),
             GUARDED_FIELD(panel, engineAgentPressed), GUARDED_FIELD(panel, powerSwitch),
             GUARDED_FIELD(panel, sirenSwitch), GUARDED_FIELD(panel, smokeTestButton),
             GUARDED_FIELD(panel, extinguisherTestButton), GUARDED_FIELD(panel, lampTestButton),
             GUARDED_FIELD(panel, compartmentSelector), GUARDED_FIELD(panel, sensorGroupSelector),
             GUARDED_FIELD(panel, neutralGasOn), GUARDED_FIELD(panel, apuAgentOn), GUARDED_FIELD(panel, stageFired),
             GUARDED_FIELD(panel, engineAgentOn)});
    }
}

TEST_F(FireProtectionTest, APowerSlotThatCannotBeReadCountsAsPower) {
    ASSERT_TRUE(siblings.HoldSlot(kPowerSlot));
    Frame();
    EXPECT_EQ(panel.powered, 1);
    EXPECT_EQ(LitLamps(panel), Lamps{0});
}

TEST_F(FireProtectionTest, FuelValveSlotsThatCannotBeReadLeaveTheirLampsDark) {
    PowerOn();
    for (int engine = 0; engine < 3; ++engine) {
        siblings.SetSlot(kFuelValveSlot1 + engine, 0.0);
        ASSERT_TRUE(siblings.HoldSlot(kFuelValveSlot1 + engine));
    }
    Frame();
    EXPECT_EQ(LitLamps(panel), Lamps{});
}

TEST_F(FireProtectionTest, LosingPowerDarkensEveryLampAtTheNextFrame) {
    PowerOn();
    panel.lampTestButton = 1;
    Frame();
    ASSERT_EQ(LitLamps(panel), kAll);
    siblings.SetSlot(kPowerSlot, 0.0);
    Frame();
    EXPECT_EQ(panel.powered, 0);
    EXPECT_EQ(LitLamps(panel), Lamps{});
}

// ---------------------------------------------------------------------------------------------------------------
// Siren arming

struct SirenCase {
    const char* description;
    int powerSwitch, sirenSwitch;
    double power, enable, inhibit;  // slots 109, 64, 104
    bool armed;
};

class SirenArmingTest : public FireProtectionTest, public testing::WithParamInterface<SirenCase> {};

TEST_P(SirenArmingTest, ArmsOnlyWhenEveryConditionHolds) {
    const SirenCase& c = GetParam();
    panel.powerSwitch = static_cast<std::uint8_t>(c.powerSwitch);
    panel.sirenSwitch = static_cast<std::uint8_t>(c.sirenSwitch);
    siblings.SetSlot(kPowerSlot, c.power);
    siblings.SetSlot(kSirenEnableSlot, c.enable);
    siblings.SetSlot(kSirenInhibitSlot, c.inhibit);
    Frame();
    EXPECT_EQ(panel.sirenArmed, c.armed ? 1 : 0) << c.description;
}

INSTANTIATE_TEST_SUITE_P(Conditions, SirenArmingTest,
                         testing::Values(SirenCase{"all hold", 1, 1, 1.0, 1.0, 0.0, true},
                                         SirenCase{"panel switched off", 0, 1, 1.0, 1.0, 0.0, false},
                                         SirenCase{"siren switched off", 1, 0, 1.0, 1.0, 0.0, false},
                                         SirenCase{"no power", 1, 1, 0.0, 1.0, 0.0, false},
                                         SirenCase{"not enabled", 1, 1, 1.0, 0.0, 0.0, false},
                                         SirenCase{"inhibited", 1, 1, 1.0, 1.0, 1.0, false},
                                         SirenCase{"negative zero is zero", 1, 1, 1.0, 1.0, -0.0, true},
                                         SirenCase{"power not a number counts as set", 1, 1, kNaN, 1.0, 0.0, true},
                                         SirenCase{"enable not a number counts as set", 1, 1, 1.0, kNaN, 0.0, true},
                                         SirenCase{"inhibit not a number blocks", 1, 1, 1.0, 1.0, kNaN, false},
                                         SirenCase{"inhibit infinite blocks", 1, 1, 1.0, 1.0, kInfinity, false},
                                         SirenCase{"enable infinite counts", 1, 1, -kInfinity, kInfinity, 0.0, true}));

TEST_F(FireProtectionTest, AnUnreadableInhibitSlotBlocksTheSirenAndAnUnreadableEnableSlotPasses) {
    PowerOn();
    siblings.SetSlot(kSirenEnableSlot, 0.0);
    siblings.SetSlot(kSirenInhibitSlot, 0.0);
    ASSERT_TRUE(siblings.HoldSlot(kSirenEnableSlot));
    Frame();
    EXPECT_EQ(panel.sirenArmed, 1);
    ASSERT_TRUE(siblings.HoldSlot(kSirenInhibitSlot));
    Frame();
    EXPECT_EQ(panel.sirenArmed, 0);
}

TEST_F(FireProtectionTest, ArmingIsWorkedOutAfreshEveryFrame) {
    PowerOn();
    siblings.SetSlot(kSirenEnableSlot, 1.0);
    Frame();
    ASSERT_EQ(panel.sirenArmed, 1);
    siblings.SetSlot(kPowerSlot, 0.0);
    Frame();
    EXPECT_EQ(panel.sirenArmed, 0);
    siblings.SetSlot(kPowerSlot, 1.0);
    Frame();
    EXPECT_EQ(panel.sirenArmed, 1);
}

// ---------------------------------------------------------------------------------------------------------------
// Flash cycle

class FlashTest : public FireProtectionTest {
protected:
    void SetUp() override {
        FireProtectionTest::SetUp();
        PowerOn();
    }
    bool CheckLampLit() const { return panel.lamps[FireProtectionSystem::kLampCheck] == 1; }
};

TEST_F(FlashTest, EachStepLastsStrictlyMoreThanAQuarterSecond) {
    panel.smokeTestButton = 1;
    FrameAt(100.0);
    EXPECT_EQ(panel.flashState, 1);
    EXPECT_TRUE(panel.flashTimer.running);
    EXPECT_EQ(panel.flashTimer.startTime, 100.0);
    EXPECT_EQ(panel.flashRequest, 0) << "taken by the start";
    EXPECT_TRUE(CheckLampLit());

    FrameAt(100.25);
    EXPECT_EQ(panel.flashState, 1) << "exactly a quarter second is not enough";
    EXPECT_TRUE(CheckLampLit());

    FrameAt(100.375);
    EXPECT_EQ(panel.flashState, 2);
    EXPECT_EQ(panel.flashTimer.startTime, 100.375) << "restarted for the dark step";
    EXPECT_FALSE(CheckLampLit());

    FrameAt(100.625);
    EXPECT_EQ(panel.flashState, 2);
    EXPECT_FALSE(CheckLampLit());

    FrameAt(100.75);
    EXPECT_EQ(panel.flashState, 0) << "a finished cycle spends a frame idle";
    EXPECT_FALSE(panel.flashTimer.running);
    EXPECT_EQ(panel.flashRequest, 1) << "the held button asks again";
    EXPECT_FALSE(CheckLampLit());

    FrameAt(100.8125);
    EXPECT_EQ(panel.flashState, 1);
    EXPECT_EQ(panel.flashTimer.startTime, 100.8125);
    EXPECT_TRUE(CheckLampLit());
}

TEST_F(FlashTest, OneStepPerFrameEvenAfterALongPause) {
    panel.smokeTestButton = 1;
    FrameAt(100.0);
    FrameAt(200.0);
    EXPECT_EQ(panel.flashState, 2) << "the dark step starts afresh";
    FrameAt(200.125);
    EXPECT_EQ(panel.flashState, 2);
    FrameAt(300.0);
    EXPECT_EQ(panel.flashState, 0);
}

TEST_F(FlashTest, ReleasingDarkensTheLampAtOnceAndTheCycleRunsOutUnseen) {
    panel.smokeTestButton = 1;
    FrameAt(100.0);
    FrameAt(100.5);  // dark step, with the next cycle already asked for
    ASSERT_EQ(panel.flashState, 2);
    panel.smokeTestButton = 0;
    FrameAt(101.0);
    EXPECT_EQ(panel.flashState, 0);
    FrameAt(101.0625);
    EXPECT_EQ(panel.flashState, 1) << "the request left by the held button";
    EXPECT_FALSE(CheckLampLit());
    FrameAt(101.5);
    FrameAt(102.0);
    EXPECT_EQ(panel.flashState, 0);
    FrameAt(102.5);
    EXPECT_EQ(panel.flashState, 0) << "no request left";
    EXPECT_EQ(panel.flashRequest, 0);
    for (int lamp = 12; lamp <= 20; ++lamp) EXPECT_EQ(panel.lamps[lamp], 0) << lamp;
}

TEST_F(FlashTest, WithTheSirenSwitchedOffTheCheckLampBurnsSteadily) {
    panel.sirenSwitch = 0;
    panel.smokeTestButton = 1;
    for (double clock = 100.0; clock < 102.0; clock += 0.0625) {
        FrameAt(clock);
        EXPECT_TRUE(CheckLampLit()) << clock;
        EXPECT_EQ(panel.sirenArmed, 0);
    }
}

TEST_F(FlashTest, AtEighteenFramesASecondTheLampShowsFiveFramesLitAndSixDark) {
    simulator.frameRate = Simulator::kDefaultFrameRate;
    panel.smokeTestButton = 1;
    std::string seen;
    for (int frame = 0; frame < 33; ++frame) {
        Frame();
        seen += CheckLampLit() ? 'L' : '-';
    }
    EXPECT_EQ(seen, "LLLLL------LLLLL------LLLLL------");
}

TEST_F(FlashTest, WithoutTheSmokeTestNoCycleStartsAndTheClockIsNotAsked) {
    Frame(5);
    EXPECT_EQ(panel.flashState, 0);
    EXPECT_FALSE(panel.flashTimer.running);
    for (const auto& [token, value] : simulator.frameLookups()) EXPECT_NE(token, kClockToken);
}

TEST_F(FlashTest, AClockThatIsNotANumberNeverEndsTheLitStep) {
    panel.smokeTestButton = 1;
    simulator.SetVariable(kClockToken, kNaN);
    Frame();
    ASSERT_EQ(panel.flashState, 1);
    FrameAt(kInfinity);
    FrameAt(200.0);
    EXPECT_EQ(panel.flashState, 1);
    EXPECT_TRUE(CheckLampLit());
}

// ---------------------------------------------------------------------------------------------------------------
// The PPS gauge's handlers and their sounds, on the module's own objects.

// Areas of the PPS mouse list, in list order.
enum PpsArea {
    kOperateSwitch = 1,
    kLampTestButton,
    kNeutralGasButton,
    kApuAgentButton,
    kSmokeTestButton,
    kSensorGroupUp,
    kSensorGroupDown,
    kCompartmentUp,
    kCompartmentDown,
    kStage1Button,
    kStage2Button,
    kStage3Button,
    kExtinguisherTestButton,
    kSirenSwitch,
    kEngine1AgentButton,
};
constexpr int kCoverElement = 41;

class PpsSoundTest : public testing::Test {
protected:
    void SetUp() override {
        const char* const files[] = {"Tumb_fix.wav", "Kolp.wav",   "Tumb_no_fix.wav",
                                     "Galetn.wav",   "SIRENA.wav", "sirena_pr.wav"};
        for (const char* name : files)
            root.Write(std::filesystem::path("Gauges/Avrion_cfg/Sound") / name, wav_file::Pcm16Mono(64));
        saved = std::filesystem::current_path();
        std::filesystem::current_path(root.path());
        ASSERT_NE(settings.soundOn, 0) << "the test program's own settings silence the panel";
        ASSERT_NE(settings.keySoundOn, 0) << "the test program's own settings silence the clicks";
        soundBank.StartSound();
        ASSERT_TRUE(soundBank.LoadSounds());
        // A fresh panel; the gauge's own flags carry over from the test before, which leaves them as it found them.
        delete aircraftState.fireProtection;
        aircraftState.fireProtection = new FireProtectionSystem;
        aircraftState.fireProtection->owner = &aircraftState;
        ASSERT_EQ(CoverPicture(), 1.0);
    }
    void TearDown() override {
        // Let go of any test button (clearing the shared click latch) and close the cover again.
        Deliver(kLampTestButton, mouse_flag::kLeave);
        if (CoverPicture() == 0.0) Deliver(kSirenSwitch, mouse_flag::kRightSingle);
        soundBank.ReleaseSounds();
        std::filesystem::current_path(saved);
    }

    static const gauge_access::MouseArea& Area(int area) {
        static const auto areas = gauge_access::ChildAreas(&gauges::PPS);
        return areas.at(area - 1);
    }
    static bool Deliver(int area, std::uint32_t flags) {
        const auto& box = Area(area);
        return gauge_access::DeliverMouse(&gauges::PPS, box.x + box.width / 2, box.y + box.height / 2, flags);
    }
    static double CoverPicture() {
        return gauge_access::ElementValue(gauge_access::Elements(&gauges::PPS).at(kCoverElement - 1));
    }

    platform::fake::FakeBufferState& Sound(SoundBank::Slot slot) { return *fake.buffers.at(slot - 1); }
    int Plays(SoundBank::Slot slot) { return Sound(slot).playCalls; }

    FireProtectionSystem& panel() { return *aircraftState.fireProtection; }

    TempFolder root;
    std::filesystem::path saved;
    platform::fake::FakePlatform fake;
};

TEST_F(PpsSoundTest, TheSmokeTestSirenIsStartedOnEveryEventWhileArmedAndStoppedOnRelease) {
    panel().sirenArmed = 1;
    EXPECT_TRUE(Deliver(kSmokeTestButton, mouse_flag::kLeftSingle));
    EXPECT_EQ(panel().smokeTestButton, 1);
    EXPECT_TRUE(Sound(SoundBank::kSiren).playing);
    EXPECT_TRUE(Sound(SoundBank::kSiren).looping);
    EXPECT_EQ(Plays(SoundBank::kButtonClick), 1);
    for (int repeat = 0; repeat < 3; ++repeat) Deliver(kSmokeTestButton, mouse_flag::kLeftRepeat);
    EXPECT_EQ(Plays(SoundBank::kSiren), 4);
    EXPECT_EQ(Plays(SoundBank::kButtonClick), 1) << "one click for the press";
    Sound(SoundBank::kSiren).position = 40;
    Deliver(kSmokeTestButton, mouse_flag::kLeftRelease);
    EXPECT_EQ(panel().smokeTestButton, 0);
    EXPECT_FALSE(Sound(SoundBank::kSiren).playing);
    EXPECT_EQ(Sound(SoundBank::kSiren).position, 0u);
    EXPECT_EQ(Plays(SoundBank::kButtonClick), 2) << "a second click for the release";
}

TEST_F(PpsSoundTest, LeavingTheSmokeTestButtonStopsTheSirenToo) {
    panel().sirenArmed = 1;
    Deliver(kSmokeTestButton, mouse_flag::kLeftSingle);
    Deliver(kSmokeTestButton, mouse_flag::kLeftRepeat);
    Deliver(kSmokeTestButton, mouse_flag::kLeave);
    EXPECT_EQ(panel().smokeTestButton, 0);
    EXPECT_FALSE(Sound(SoundBank::kSiren).playing);
    EXPECT_EQ(Plays(SoundBank::kButtonClick), 2);
}

TEST_F(PpsSoundTest, UnarmedTheSmokeTestOnlyClicks) {
    Deliver(kSmokeTestButton, mouse_flag::kLeftSingle);
    Deliver(kSmokeTestButton, mouse_flag::kLeftRepeat);
    Deliver(kSmokeTestButton, mouse_flag::kLeftRelease);
    EXPECT_EQ(Plays(SoundBank::kSiren), 0);
    EXPECT_EQ(Plays(SoundBank::kButtonClick), 2);
}

TEST_F(PpsSoundTest, ASirenThatLostItsArmingSoundsOnUntilTheButtonIsLetGo) {
    panel().sirenArmed = 1;
    Deliver(kSmokeTestButton, mouse_flag::kLeftSingle);
    panel().sirenArmed = 0;
    Deliver(kSmokeTestButton, mouse_flag::kLeftRepeat);
    Deliver(kSmokeTestButton, mouse_flag::kLeftRepeat);
    EXPECT_EQ(Plays(SoundBank::kSiren), 1);
    EXPECT_TRUE(Sound(SoundBank::kSiren).playing);
    Deliver(kSmokeTestButton, mouse_flag::kLeave);
    EXPECT_FALSE(Sound(SoundBank::kSiren).playing);
}

TEST_F(PpsSoundTest, TheOtherTestButtonsClickOnPressAndReleaseAndNeverSoundTheSiren) {
    panel().sirenArmed = 1;
    for (int area : {kLampTestButton, kExtinguisherTestButton}) {
        SCOPED_TRACE(area);
        const int clicks = Plays(SoundBank::kButtonClick);
        Deliver(area, mouse_flag::kLeftSingle);
        Deliver(area, mouse_flag::kLeftRepeat);
        Deliver(area, mouse_flag::kLeftRepeat);
        EXPECT_EQ(Plays(SoundBank::kButtonClick), clicks + 1);
        Deliver(area, mouse_flag::kLeftRelease);
        EXPECT_EQ(Plays(SoundBank::kButtonClick), clicks + 2);
    }
    EXPECT_EQ(Plays(SoundBank::kSiren), 0);
}

TEST_F(PpsSoundTest, TheTestButtonsShareOneClickLatch) {
    Deliver(kLampTestButton, mouse_flag::kLeftSingle);
    Deliver(kExtinguisherTestButton, mouse_flag::kLeftSingle);
    EXPECT_EQ(Plays(SoundBank::kButtonClick), 1) << "the second press finds the latch taken";
    EXPECT_EQ(panel().lampTestButton, 1);
    EXPECT_EQ(panel().extinguisherTestButton, 1);
    Deliver(kExtinguisherTestButton, mouse_flag::kLeftRelease);
    Deliver(kLampTestButton, mouse_flag::kLeftRelease);
    EXPECT_EQ(Plays(SoundBank::kButtonClick), 3);
    EXPECT_EQ(panel().lampTestButton, 0);
    EXPECT_EQ(panel().extinguisherTestButton, 0);
}

TEST_F(PpsSoundTest, SelectorsClickOnEveryStepAndAreSilentAtTheirEnds) {
    for (int step = 0; step < 8; ++step) Deliver(kSensorGroupUp, mouse_flag::kLeftSingle);
    EXPECT_EQ(panel().sensorGroupSelector, 7);
    EXPECT_EQ(Plays(SoundBank::kSelectorClick), 7);
    for (int step = 0; step < 5; ++step) Deliver(kCompartmentUp, mouse_flag::kLeftSingle);
    EXPECT_EQ(panel().compartmentSelector, 4);
    EXPECT_EQ(Plays(SoundBank::kSelectorClick), 11);
    for (int step = 0; step < 9; ++step) Deliver(kSensorGroupDown, mouse_flag::kLeftSingle);
    for (int step = 0; step < 6; ++step) Deliver(kCompartmentDown, mouse_flag::kLeftSingle);
    EXPECT_EQ(panel().sensorGroupSelector, 0);
    EXPECT_EQ(panel().compartmentSelector, 0);
    EXPECT_EQ(Plays(SoundBank::kSelectorClick), 22);
}

TEST_F(PpsSoundTest, TheCoverGuardsTheSirenSwitchAndClosingItTurnsTheSirenBackOn) {
    EXPECT_TRUE(Deliver(kSirenSwitch, mouse_flag::kLeftSingle));
    EXPECT_EQ(panel().sirenSwitch, 1) << "the closed cover keeps the switch on";
    EXPECT_EQ(Plays(SoundBank::kSwitchClick), 0);

    Deliver(kSirenSwitch, mouse_flag::kRightSingle);
    EXPECT_EQ(CoverPicture(), 0.0);
    EXPECT_EQ(Plays(SoundBank::kCoverClick), 1);
    EXPECT_EQ(Plays(SoundBank::kSwitchClick), 0);

    Deliver(kSirenSwitch, mouse_flag::kLeftSingle);
    EXPECT_EQ(panel().sirenSwitch, 0);
    EXPECT_EQ(Plays(SoundBank::kSwitchClick), 1);

    Deliver(kSirenSwitch, mouse_flag::kRightSingle);
    EXPECT_EQ(CoverPicture(), 1.0);
    EXPECT_EQ(panel().sirenSwitch, 1);
    EXPECT_EQ(Plays(SoundBank::kCoverClick), 2);
    EXPECT_EQ(Plays(SoundBank::kSwitchClick), 2);
}

TEST_F(PpsSoundTest, TheOperateSwitchClicksAndTheLitButtonsAreSilent) {
    Deliver(kOperateSwitch, mouse_flag::kLeftSingle);
    EXPECT_EQ(panel().powerSwitch, 1);
    EXPECT_EQ(Plays(SoundBank::kSwitchClick), 1);
    panel().powered = 1;
    for (int area : {kNeutralGasButton, kApuAgentButton, kStage1Button, kEngine1AgentButton}) {
        Deliver(area, mouse_flag::kLeftSingle);
        Deliver(area, mouse_flag::kLeftRelease);
    }
    EXPECT_EQ(panel().neutralGasOn, 1);
    EXPECT_EQ(panel().stageFired[0], 1);
    for (int slot = SoundBank::kSwitchClick; slot <= SoundBank::kSecondSiren; ++slot)
        EXPECT_EQ(Plays(static_cast<SoundBank::Slot>(slot)), slot == SoundBank::kSwitchClick ? 1 : 0) << slot;
}

TEST_F(PpsSoundTest, ALitButtonLatchesOnlyWithTheSwitchOnAndPower) {
    const struct {
        int powerSwitch, powered;
        bool latches;
    } rows[] = {{0, 0, false}, {0, 1, false}, {1, 0, false}, {1, 1, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.powerSwitch << row.powered);
        panel().apuAgentOn = 0;
        panel().powerSwitch = static_cast<std::uint8_t>(row.powerSwitch);
        panel().powered = static_cast<std::uint8_t>(row.powered);
        Deliver(kApuAgentButton, mouse_flag::kLeftSingle);
        EXPECT_EQ(panel().apuAgentPressed, 1);
        EXPECT_EQ(panel().apuAgentOn, row.latches ? 1 : 0);
        Deliver(kApuAgentButton, mouse_flag::kLeave);
        EXPECT_EQ(panel().apuAgentPressed, 0);
        EXPECT_EQ(panel().apuAgentOn, row.latches ? 1 : 0) << "a latch outlives the press";
    }
}

TEST_F(PpsSoundTest, TheKaiBreakerClicksAndItsKnobsAreSilent) {
    const auto breaker = gauge_access::ChildAreas(&gauges::AZS_KAI_487).at(0);
    const bool before = aircraftState.airData->enabled;
    gauge_access::DeliverMouse(&gauges::AZS_KAI_487, breaker.x + 1, breaker.y + 1, mouse_flag::kLeftSingle);
    EXPECT_NE(aircraftState.airData->enabled, before);
    EXPECT_EQ(Plays(SoundBank::kSwitchClick), 1);
    gauge_access::DeliverMouse(&gauges::AZS_KAI_487, breaker.x + 1, breaker.y + 1, mouse_flag::kLeftSingle);
    EXPECT_EQ(aircraftState.airData->enabled, before);
    for (const auto& knob : gauge_access::ChildAreas(&gauges::KAI_487))
        gauge_access::DeliverMouse(&gauges::KAI_487, knob.x + 1, knob.y + 1, mouse_flag::kLeftSingle);
    EXPECT_EQ(Plays(SoundBank::kSwitchClick), 2);
    EXPECT_EQ(fake.CallCount("Play"), 2);
}

}  // namespace
