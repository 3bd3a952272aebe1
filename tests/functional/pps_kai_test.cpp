// The PPS fire protection panel and the KAI_487 speed indicator with its breaker, as the simulator sees them:
// their records, what their elements show and what their mouse areas do, through a freshly loaded module.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "support/gauge_record_checks.h"
#include "support/module_fixture.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

constexpr int kPowerSlot = 109;
constexpr int kSirenEnableSlot = 64;
constexpr int kFuelValveSlot1 = 105;

constexpr int kSupplyToken = 759;
constexpr int kSpeedToken = 61;
constexpr int kMachToken = 64;
constexpr int kAltitudeToken = 73;
constexpr int kAirTemperatureToken = 341;

constexpr std::uint32_t kButtonEvents = 0x20220800;

using gauge_records::AreaRow;
using gauge_records::Child;
using gauge_records::ElementRow;
using gauge_records::kClose;
using gauge_records::kParent;
using gauge_records::PointRow;

using PpsKaiRecords = gauge_records::RecordsFixture;

TEST_F(PpsKaiRecords, PpsChainHoldsItsFortySevenElementsInOrder) {
    const ElementRow icon2 = {kElementIcon, 0, {0, 0}, 0x3, 2, true};
    auto Plain2 = [&](std::int32_t bitmap, PIXPOINT at) {
        ElementRow row = icon2;
        row.bitmapId = bitmap;
        row.position = at;
        return row;
    };
    auto Lit2 = [&](std::int32_t bitmap, PIXPOINT at) {
        ElementRow row = Plain2(bitmap, at);
        row.imageFlags = 0x7;
        return row;
    };
    auto Lamp = [](std::int32_t bitmap, PIXPOINT at) { return ElementRow{kElementIcon, bitmap, at, 0x7, 1, true}; };
    ExpectChain("PPS", {
                           {kElementStaticImage, 256, {0, 0}, 0x1, 0, false},
                           Plain2(257, {404, 276}),
                           Lamp(259, {400, 235}),
                           Plain2(260, {382, 189}),
                           Lamp(262, {284, 234}),
                           Lamp(263, {48, 365}),
                           Lamp(263, {106, 365}),
                           Lamp(263, {161, 365}),
                           Lamp(264, {231, 348}),
                           Lamp(265, {48, 256}),
                           Lamp(265, {106, 257}),
                           Lamp(265, {162, 256}),
                           Lamp(266, {48, 227}),
                           Lamp(266, {105, 227}),
                           Lamp(266, {162, 228}),
                           Lamp(267, {49, 81}),
                           Lamp(267, {50, 152}),
                           Lamp(268, {104, 65}),
                           Lamp(269, {162, 66}),
                           Lamp(270, {104, 94}),
                           Lamp(271, {104, 138}),
                           Lamp(272, {159, 139}),
                           Lamp(1280, {160, 96}),
                           Lamp(273, {105, 167}),
                           Plain2(274, {352, 341}),
                           Lit2(276, {352, 341}),
                           Plain2(278, {280, 286}),
                           Lit2(280, {280, 286}),
                           Plain2(260, {292, 188}),
                           {kElementNeedle, 282, {340, 112}, 0x3, 0, true},
                           {kElementNeedle, 282, {446, 113}, 0x3, 0, true},
                           Plain2(283, {219, 224}),
                           Lit2(285, {219, 224}),
                           Plain2(287, {220, 173}),
                           Lit2(289, {220, 173}),
                           Plain2(291, {220, 119}),
                           Lit2(293, {220, 119}),
                           Plain2(260, {337, 188}),
                           {kElementIcon, 295, {454, 303}, 0x3, 1, false},
                           Plain2(296, {454, 303}),
                           Plain2(298, {454, 303}),
                           Plain2(300, {42, 295}),
                           Lit2(302, {42, 295}),
                           Plain2(304, {100, 295}),
                           Lit2(306, {100, 295}),
                           Plain2(308, {154, 295}),
                           Lit2(310, {154, 295}),
                       });
    ExpectNeedle("PPS", 30, {25, 11}, 50,
                 {{307, 126, 0.0},
                  {302, 98, 1.0},
                  {321, 84, 2.0},
                  {340, 80, 3.0},
                  {358, 85, 4.0},
                  {375, 98, 5.0},
                  {378, 118, 6.0},
                  {372, 138, 7.0}});
    ExpectNeedle("PPS", 31, {25, 11}, 50,
                 {{404, 118, 0.0}, {410, 98, 1.0}, {426, 82, 2.0}, {447, 76, 3.0}, {467, 80, 4.0}});
}

TEST_F(PpsKaiRecords, PpsMouseListHasItsSeventeenAreas) {
    ExpectMouseList("PPS", {kParent, Child(404, 276, 30, 60, 5, 0x20000000), Child(382, 189, 18, 18, 5, kButtonEvents),
                            Child(352, 341, 46, 50, 5, kButtonEvents), Child(280, 286, 46, 50, 5, kButtonEvents),
                            Child(292, 188, 18, 18, 5, kButtonEvents), Child(340, 80, 35, 70, 1, 0x20000000),
                            Child(305, 80, 35, 70, 2, 0x20000000), Child(445, 80, 35, 70, 1, 0x20000000),
                            Child(410, 80, 35, 70, 2, 0x20000000), Child(219, 224, 46, 50, 5, kButtonEvents),
                            Child(220, 173, 46, 50, 5, kButtonEvents), Child(220, 119, 46, 50, 5, kButtonEvents),
                            Child(337, 188, 18, 18, 5, kButtonEvents), Child(454, 303, 50, 104, 5, 0xA0000000),
                            Child(42, 295, 46, 50, 5, kButtonEvents), Child(100, 295, 46, 50, 5, kButtonEvents),
                            Child(154, 295, 46, 50, 5, kButtonEvents), kClose});
}

TEST_F(PpsKaiRecords, Kai487ChainHasKnobsMarkersFlagsDrumsAndTwoSpeedNeedles) {
    ExpectChain("KAI_487", {
                               {kElementStaticImage, 312, {0, 0}, 0x1, 0, false},
                               {kElementNeedle, 316, {58, 268}, 0x3, 0, true},
                               {kElementNeedle, 317, {247, 268}, 0x3, 0, true},
                               {kElementNeedle, 315, {153, 151}, 0x3, 0, true},
                               {kElementNeedle, 314, {153, 151}, 0x3, 0, true},
                               {kElementIcon, 313, {135, 91}, 0x3, 1, true},
                               {kElementIcon, 352, {85, 172}, 0x7, 1, true},
                               {kElementIcon, 342, {111, 172}, 0x7, 10, true},
                               {kElementIcon, 342, {137, 172}, 0x7, 10, true},
                               {kElementNeedle, 319, {153, 151}, 0x3, 0, true},
                               {kElementNeedle, 318, {153, 151}, 0x3, 0, true},
                           });
    ExpectNeedle("KAI_487", 2, {23, 23}, 18, {{58, 245, 0.0}, {58, 590, 15.0}, {58, 245, 30.0}});
    ExpectNeedle("KAI_487", 3, {23, 23}, 18, {{247, 245, 0.0}, {247, 590, 15.0}, {247, 245, 30.0}});
    const std::vector<PointRow> marker = {{202, 48, 0.0}, {152, 269, 50.0}, {104, 46, 100.0}};
    ExpectNeedle("KAI_487", 4, {10, 11}, 18, marker);
    ExpectNeedle("KAI_487", 5, {10, 11}, 18, marker);
    const std::vector<PointRow> speed = {
        {154, 35, 0.0},    {202, 48, 50.0},   {218, 56, 60.0},   {232, 67, 70.0},
        {247, 84, 80.0},   {258, 103, 90.0},  {267, 131, 100.0}, {263, 190, 120.0},
        {232, 238, 140.0}, {152, 269, 180.0}, {130, 267, 190.0}, {109, 261, 200.0},
        {53, 214, 250.0},  {44, 109, 350.0},  {76, 63, 400.0},   {104, 46, 430.0},
    };
    ExpectNeedle("KAI_487", 10, {21, 18}, 10, speed);
    ExpectNeedle("KAI_487", 11, {21, 18}, 18, speed);
}

TEST_F(PpsKaiRecords, Kai487MouseListNestsOneParentAreaPerKnob) {
    ExpectMouseList("KAI_487", {kParent,
                                {kMouseParent, 35, 245, 45, 45, -1, 0},
                                Child(23, 0, 22, 45, 1, 0x20000000),
                                Child(0, 0, 22, 45, 2, 0x20000000),
                                kClose,
                                {kMouseParent, 224, 245, 45, 45, -1, 0},
                                Child(23, 0, 22, 45, 1, 0x20000000),
                                Child(0, 0, 22, 45, 2, 0x20000000),
                                kClose,
                                kClose});
    const auto areas = gauge_access::ChildAreas(Gauge("KAI_487"));
    ASSERT_EQ(areas.size(), 4u);
    EXPECT_EQ(areas[0].x, 58);  // the right half of the left knob
    EXPECT_EQ(areas[0].y, 245);
    EXPECT_EQ(areas[3].x, 224);
}

TEST_F(PpsKaiRecords, AzsKai487IsABreakerLeverOnItsPlate) {
    ExpectChain("AZS_KAI_487", {
                                   {kElementStaticImage, 320, {0, 0}, 0x1, 0, false},
                                   {kElementIcon, 257, {0, 0}, 0x3, 2, true},
                               });
    ExpectMouseList("AZS_KAI_487", {kParent, Child(0, 0, 30, 60, 5, 0x20000000), kClose});
}

// ---------------------------------------------------------------------------------------------------------------
// PPS

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
    kSirenSwitchArea,
    kEngine1AgentButton,
    kEngine2AgentButton,
    kEngine3AgentButton,
};

enum PpsElement {
    kOperateSwitchPicture = 2,
    kLampTestPicture = 4,
    kNeutralGasDark = 25,
    kApuAgentDark = 27,
    kSmokeTestPicture = 29,
    kSensorGroupNeedle = 30,
    kCompartmentNeedle = 31,
    kStage1Dark = 32,
    kStage3Dark = 36,
    kExtinguisherTestPicture = 38,
    kSirenGuard = 39,
    kSirenLever = 40,
    kSirenCover = 41,
    kEngine1AgentDark = 42,
};

constexpr int kLampCount = 29;

// The element that shows lamp i: a lamp of its own for 0 to 20, the lit overlay of a button for 21 to 28.
int LampElement(int lamp) {
    static const int kOverlays[] = {26, 28, 33, 35, 37, 43, 45, 47};
    if (lamp == 0) return 3;
    if (lamp == 1) return 5;
    if (lamp <= 20) return lamp + 4;
    return kOverlays[lamp - 21];
}

class PpsPanel : public ModuleFixture {
protected:
    void SetUp() override {
        ModuleFixture::SetUp();
        for (int engine = 0; engine < 3; ++engine) siblings.SetSlot(kFuelValveSlot1 + engine, 1.0);
    }
    void Power() { siblings.SetSlot(kPowerSlot, 1.0); }
    void SwitchOn() {
        Power();
        ClickArea("PPS", kOperateSwitch);
        ASSERT_EQ(Value("PPS", kOperateSwitchPicture), 1.0);
    }
    void Press(int area) { ClickArea("PPS", area, mouse_flag::kLeftSingle); }
    void Release(int area) { ClickArea("PPS", area, mouse_flag::kLeftRelease); }
    void Tap(int area) {
        Press(area);
        Release(area);
    }
    double Shown(PpsElement element) { return Value("PPS", element); }

    // Lamps drawn lit: a lamp icon at picture 0, a lit overlay at any picture.
    std::vector<int> LitLamps() {
        std::vector<int> lit;
        for (int lamp = 0; lamp < kLampCount; ++lamp) {
            const double value = Value("PPS", LampElement(lamp));
            EXPECT_TRUE(value == -1.0 || value == 0.0 || (lamp >= 21 && value == 1.0)) << lamp << ": " << value;
            if (value != -1.0) lit.push_back(lamp);
        }
        return lit;
    }
};

std::vector<int> Lamps(int first, int last) {
    std::vector<int> lamps;
    for (int lamp = first; lamp <= last; ++lamp) lamps.push_back(lamp);
    return lamps;
}

TEST_F(PpsPanel, LoadsSwitchedOffWithTheSirenSwitchOnUnderItsClosedCover) {
    EXPECT_EQ(Shown(kOperateSwitchPicture), 0.0);
    EXPECT_EQ(Shown(kSirenLever), 1.0);
    EXPECT_EQ(Shown(kSirenCover), 1.0);
    EXPECT_EQ(Shown(kSirenGuard), 0.0) << "no callback: always its one picture";
    EXPECT_EQ(Shown(kSensorGroupNeedle), 0.0);
    EXPECT_EQ(Shown(kCompartmentNeedle), 0.0);
    for (PpsElement button : {kLampTestPicture, kNeutralGasDark, kApuAgentDark, kSmokeTestPicture, kStage1Dark,
                              kExtinguisherTestPicture, kEngine1AgentDark})
        EXPECT_EQ(Shown(button), 0.0) << button;
    EXPECT_EQ(LitLamps(), std::vector<int>{}) << "nothing before the first frame";
}

TEST_F(PpsPanel, TheLampTestLightsAllTwentyNineAndLettingGoDarksThem) {
    SwitchOn();
    Frames(1);
    EXPECT_EQ(LitLamps(), std::vector<int>{});
    Press(kLampTestButton);
    ClickArea("PPS", kLampTestButton, mouse_flag::kLeftRepeat);
    Frames(1);
    EXPECT_EQ(LitLamps(), Lamps(0, 28));
    // The overlays show their buttons out.
    for (int lamp = 21; lamp < kLampCount; ++lamp) EXPECT_EQ(Value("PPS", LampElement(lamp)), 0.0) << lamp;
    ClickArea("PPS", kLampTestButton, mouse_flag::kLeave);
    EXPECT_EQ(Shown(kLampTestPicture), 0.0);
    Frames(1);
    EXPECT_EQ(LitLamps(), std::vector<int>{});
}

TEST_F(PpsPanel, TheExtinguisherTestLightsTheThreeStageButtons) {
    SwitchOn();
    Press(kExtinguisherTestButton);
    Frames(1);
    EXPECT_EQ(Shown(kExtinguisherTestPicture), 1.0);
    EXPECT_EQ(LitLamps(), (std::vector<int>{23, 24, 25}));
    Release(kExtinguisherTestButton);
    Frames(1);
    EXPECT_EQ(LitLamps(), std::vector<int>{});
}

TEST_F(PpsPanel, DischargeStagesFireOnlyInOrder) {
    SwitchOn();
    Frames(1);
    Tap(kStage2Button);
    Tap(kStage3Button);
    Frames(1);
    EXPECT_EQ(LitLamps(), std::vector<int>{}) << "stage 2 or 3 before stage 1 does nothing";
    Tap(kStage1Button);
    Frames(1);
    EXPECT_EQ(LitLamps(), std::vector<int>{23});
    Tap(kStage3Button);
    Frames(1);
    EXPECT_EQ(LitLamps(), std::vector<int>{23}) << "stage 3 needs stage 2 too";
    Tap(kStage2Button);
    Press(kStage3Button);
    Frames(1);
    EXPECT_EQ(LitLamps(), (std::vector<int>{23, 24, 25}));
    EXPECT_EQ(Shown(kStage3Dark), 1.0);
    EXPECT_EQ(Value("PPS", LampElement(25)), 1.0) << "the lit overlay shows the button in";
    Release(kStage3Button);
    EXPECT_EQ(Shown(kStage3Dark), 0.0);
    EXPECT_EQ(Value("PPS", LampElement(25)), 0.0);
}

TEST_F(PpsPanel, SwitchedOffTheLitButtonsMoveButLatchNothing) {
    Power();
    Frames(1);
    for (int area = kEngine1AgentButton; area <= kEngine3AgentButton; ++area) Tap(area);
    for (int area : {kNeutralGasButton, kApuAgentButton, kStage1Button}) {
        Press(area);
        Frames(1);
        Release(area);
    }
    Press(kEngine1AgentButton);
    EXPECT_EQ(Shown(kEngine1AgentDark), 1.0) << "the button still goes in";
    Release(kEngine1AgentButton);
    EXPECT_EQ(Shown(kEngine1AgentDark), 0.0);
    ClickArea("PPS", kOperateSwitch);
    Frames(1);
    EXPECT_EQ(LitLamps(), std::vector<int>{});
}

TEST_F(PpsPanel, TheOperateSwitchClosesTheAgentValvesButTheFiredStagesStayLit) {
    SwitchOn();
    Frames(1);
    for (int area : {kNeutralGasButton, kApuAgentButton, kStage1Button, kEngine1AgentButton, kEngine2AgentButton,
                     kEngine3AgentButton})
        Tap(area);
    Frames(1);
    EXPECT_EQ(LitLamps(), (std::vector<int>{21, 22, 23, 26, 27, 28}));

    ClickArea("PPS", kOperateSwitch);
    Frames(1);
    EXPECT_EQ(LitLamps(), std::vector<int>{0});
    ClickArea("PPS", kOperateSwitch);
    Frames(1);
    EXPECT_EQ(LitLamps(), (std::vector<int>{21, 23}));

    // Toggling with the switch on clears them too.
    Tap(kApuAgentButton);
    Tap(kEngine2AgentButton);
    Frames(1);
    EXPECT_EQ(LitLamps(), (std::vector<int>{21, 22, 23, 27}));
    ClickArea("PPS", kOperateSwitch);
    ClickArea("PPS", kOperateSwitch);
    Frames(1);
    EXPECT_EQ(LitLamps(), (std::vector<int>{21, 23}));
}

TEST_F(PpsPanel, SelectorsStepBetweenTheirEndsAndLightNothing) {
    SwitchOn();
    const struct {
        int up, down;
        PpsElement needle;
        double highest;
    } selectors[] = {{kSensorGroupUp, kSensorGroupDown, kSensorGroupNeedle, 7.0},
                     {kCompartmentUp, kCompartmentDown, kCompartmentNeedle, 4.0}};
    for (const auto& selector : selectors) {
        SCOPED_TRACE(selector.up);
        for (double position = 1.0; position <= selector.highest; ++position) {
            ClickArea("PPS", selector.up);
            EXPECT_EQ(Shown(selector.needle), position);
        }
        ClickArea("PPS", selector.up);
        EXPECT_EQ(Shown(selector.needle), selector.highest) << "stays at its upper end";
        Frames(1);
        EXPECT_EQ(LitLamps(), std::vector<int>{});
        for (double position = selector.highest - 1.0; position >= 0.0; --position) {
            ClickArea("PPS", selector.down);
            EXPECT_EQ(Shown(selector.needle), position);
        }
        ClickArea("PPS", selector.down);
        EXPECT_EQ(Shown(selector.needle), 0.0) << "stays at its lower end";
    }
}

TEST_F(PpsPanel, TheSirenSwitchWorksOnlyWithItsCoverOpenAndClosingTheCoverTurnsItOn) {
    ClickArea("PPS", kSirenSwitchArea, mouse_flag::kLeftSingle);
    EXPECT_EQ(Shown(kSirenLever), 1.0) << "the closed cover keeps it on";
    ClickArea("PPS", kSirenSwitchArea, mouse_flag::kRightSingle);
    EXPECT_EQ(Shown(kSirenCover), 0.0);
    ClickArea("PPS", kSirenSwitchArea, mouse_flag::kLeftSingle);
    EXPECT_EQ(Shown(kSirenLever), 0.0);
    ClickArea("PPS", kSirenSwitchArea, mouse_flag::kLeftSingle);
    EXPECT_EQ(Shown(kSirenLever), 1.0);
    ClickArea("PPS", kSirenSwitchArea, mouse_flag::kLeftSingle);
    EXPECT_EQ(Shown(kSirenLever), 0.0);
    ClickArea("PPS", kSirenSwitchArea, mouse_flag::kRightSingle);
    EXPECT_EQ(Shown(kSirenCover), 1.0);
    EXPECT_EQ(Shown(kSirenLever), 1.0);
}

class PpsSmokeTest : public PpsPanel {
protected:
    // The check lamp frame by frame: 'L' lit, '-' dark.
    std::string CheckLampFrames(int count) {
        std::string seen;
        for (int frame = 0; frame < count; ++frame) {
            Frames(1);
            seen += Value("PPS", LampElement(5)) == 0.0 ? 'L' : '-';
        }
        return seen;
    }
};

TEST_F(PpsSmokeTest, WithTheSirenOnTheCheckLampFlashesInQuarterSecondSteps) {
    SwitchOn();
    siblings.SetSlot(kSirenEnableSlot, 1.0);
    Press(kSmokeTestButton);
    // Eighteen frames a second: a step ends on the fifth frame, and each cycle idles one frame.
    EXPECT_EQ(CheckLampFrames(22), "LLLLL------LLLLL------");
    EXPECT_EQ(LitLamps(), Lamps(12, 20)) << "the check lamp is dark here";
    Release(kSmokeTestButton);
    EXPECT_EQ(CheckLampFrames(1), "-");
    EXPECT_EQ(LitLamps(), std::vector<int>{});
}

TEST_F(PpsSmokeTest, WithTheSirenOffTheCheckLampBurnsSteadily) {
    SwitchOn();
    ClickArea("PPS", kSirenSwitchArea, mouse_flag::kRightSingle);
    ClickArea("PPS", kSirenSwitchArea, mouse_flag::kLeftSingle);
    ASSERT_EQ(Shown(kSirenLever), 0.0);
    Press(kSmokeTestButton);
    EXPECT_EQ(CheckLampFrames(22), std::string(22, 'L'));
    std::vector<int> expected = Lamps(12, 20);
    expected.insert(expected.begin(), 5);
    EXPECT_EQ(LitLamps(), expected);
}

// ---------------------------------------------------------------------------------------------------------------
// KAI_487

enum KaiElement {
    kLeftKnob = 2,
    kRightKnob,
    kRightMarker,
    kLeftMarker,
    kOffFlag,
    kMachMarker,
    kHighDrum,
    kLowDrum,
    kLimitNeedle,
    kSpeedNeedle,
};
enum KaiArea { kLeftKnobUp = 1, kLeftKnobDown, kRightKnobUp, kRightKnobDown };

class Kai487 : public ModuleFixture {
protected:
    void SetUp() override {
        ModuleFixture::SetUp();
        simulator.SetVariable(kSupplyToken, 27.0);
        simulator.SetVariable(kAirTemperatureToken, 15.0);
        simulator.SetVariable(kAltitudeToken, 1000.0);
        simulator.SetVariable(kSpeedToken, 367.8);
        simulator.SetVariable(kMachToken, 6144.0);  // Mach 0.3
    }
    void BreakerOn() {
        ClickArea("AZS_KAI_487", 1);
        ASSERT_EQ(Value("AZS_KAI_487", 2), 1.0);
    }
    double Shown(KaiElement element) { return Value("KAI_487", element); }
    // The drums as drawn: a digit, '-' for a blank drum, '?' for a picture the drum does not have.
    std::string Drums() {
        std::string drums;
        for (KaiElement drum : {kHighDrum, kLowDrum}) {
            const double value = Shown(drum);
            const bool digit = value >= 0.0 && value <= 9.0 && value == static_cast<int>(value);
            drums += value == -1.0 ? '-' : digit ? static_cast<char>('0' + static_cast<int>(value)) : '?';
        }
        return drums;
    }
};

TEST_F(Kai487, BeforeTheFirstFrameTheFlagIsShownOverZeroDrums) {
    EXPECT_EQ(Value("AZS_KAI_487", 2), 0.0);
    EXPECT_EQ(Shown(kOffFlag), 0.0);
    EXPECT_EQ(Shown(kMachMarker), -1.0);
    EXPECT_EQ(Drums(), "00");
    EXPECT_EQ(Shown(kSpeedNeedle), 0.0);
    EXPECT_EQ(Shown(kLimitNeedle), 0.0);
    EXPECT_EQ(Shown(kLeftKnob), 0.0);
    EXPECT_EQ(Shown(kRightKnob), 0.0);
    EXPECT_EQ(Shown(kLeftMarker), 20.0);
    EXPECT_EQ(Shown(kRightMarker), 50.0);
}

TEST_F(Kai487, WithTheBreakerOffItStaysOffWithBlankDrums) {
    Frames(2);
    EXPECT_EQ(Shown(kOffFlag), 0.0);
    EXPECT_EQ(Drums(), "--");
    EXPECT_EQ(Shown(kSpeedNeedle), 0.0);
}

TEST_F(Kai487, BreakerOnItShowsTheSpeedOnTheNeedleAndTheDrums) {
    BreakerOn();
    Frames(1);
    EXPECT_EQ(Shown(kOffFlag), -1.0);
    EXPECT_EQ(Shown(kMachMarker), -1.0);
    EXPECT_EQ(Shown(kSpeedNeedle), 367.0);
    EXPECT_EQ(Shown(kLimitNeedle), 324.0);
    EXPECT_EQ(Drums(), "36");
    ClickArea("AZS_KAI_487", 1);
    EXPECT_EQ(Value("AZS_KAI_487", 2), 0.0);
    Frames(1);
    EXPECT_EQ(Shown(kOffFlag), 0.0);
    EXPECT_EQ(Drums(), "--");
    EXPECT_EQ(Shown(kSpeedNeedle), 0.0);
    EXPECT_EQ(Shown(kLimitNeedle), 0.0);
}

TEST_F(Kai487, FromMachHalfTheDrumsShowTheMachNumberWithItsMarker) {
    BreakerOn();
    const struct {
        double machRaw;
        const char* drums;
        double marker;
    } rows[] = {
        {16384.0, "80", 0.0}, {10240.0, "50", 0.0}, {10239.0, "36", -1.0}, {19456.0, "95", 0.0}, {kNaN, "00", 0.0},
    };
    for (const auto& row : rows) {
        simulator.SetVariable(kMachToken, row.machRaw);
        Frames(1);
        EXPECT_EQ(Drums(), row.drums) << row.machRaw;
        EXPECT_EQ(Shown(kMachMarker), row.marker) << row.machRaw;
        EXPECT_EQ(Shown(kSpeedNeedle), 367.0);
    }
}

TEST_F(Kai487, ADrumValueBeyondItsPicturesShowsBlank) {
    BreakerOn();
    const struct {
        double speed, machRaw;
        const char* drums;
    } rows[] = {
        {367.8, 21504.0, "-5"},     // Mach 1.05
        {367.8, 32768.0, "-0"},     // Mach 1.6
        {1234.0, 6144.0, "-3"},     // 1234 km/h below Mach 0.5
        {kInfinity, 6144.0, "-4"},  // held at the largest whole number
        {999.0, 6144.0, "99"},
    };
    for (const auto& row : rows) {
        simulator.SetVariable(kSpeedToken, row.speed);
        simulator.SetVariable(kMachToken, row.machRaw);
        Frames(1);
        EXPECT_EQ(Drums(), row.drums) << row.speed << " " << row.machRaw;
    }
}

TEST_F(Kai487, KnobsMoveTheirMarkersWithinNoughtTo100) {
    const struct {
        int up, down;
        KaiElement knob, marker;
        double start;
    } knobs[] = {{kLeftKnobUp, kLeftKnobDown, kLeftKnob, kLeftMarker, 20.0},
                 {kRightKnobUp, kRightKnobDown, kRightKnob, kRightMarker, 50.0}};
    for (const auto& knob : knobs) {
        SCOPED_TRACE(knob.up);
        ClickArea("KAI_487", knob.up);
        EXPECT_EQ(Shown(knob.knob), 1.0);
        EXPECT_EQ(Shown(knob.marker), knob.start + 1.0);
        for (double marker = knob.start + 1.0; marker < 100.0; ++marker) ClickArea("KAI_487", knob.up);
        EXPECT_EQ(Shown(knob.marker), 100.0);
        EXPECT_EQ(Shown(knob.knob), 100.0 - knob.start);
        ClickArea("KAI_487", knob.up);
        EXPECT_EQ(Shown(knob.marker), 100.0) << "no further at the top";
        EXPECT_EQ(Shown(knob.knob), 100.0 - knob.start);
        for (int click = 0; click < 100; ++click) ClickArea("KAI_487", knob.down);
        EXPECT_EQ(Shown(knob.marker), 0.0);
        EXPECT_EQ(Shown(knob.knob), -knob.start);
        ClickArea("KAI_487", knob.down);
        EXPECT_EQ(Shown(knob.marker), 0.0) << "no further at the bottom";
        EXPECT_EQ(Shown(knob.knob), -knob.start);
    }
    Frames(1);
    EXPECT_EQ(Shown(kLeftMarker), 0.0) << "the update leaves the knobs alone";
}

}  // namespace
