// The ITV clock and the SO72 transponder panel as the simulator sees them: their records, what their elements
// show and what their mouse areas do, through a freshly loaded module.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/gauge_record_checks.h"
#include "support/module_fixture.h"

namespace {

constexpr int kBusSlot = 109;
constexpr int kTransponderPowerSlot = 115;
constexpr int kPanelClockToken = 4;

constexpr std::uint32_t kButtonEvents = 0x20220800;

using gauge_records::Child;
using gauge_records::ElementRow;
using gauge_records::PointRow;

using GaugeRecords = gauge_records::RecordsFixture;

TEST_F(GaugeRecords, ItvChainIsBackgroundFourButtonsCoverNeedleAndFourDigits) {
    ExpectChain("ITV", {
                           {kElementStaticImage, 321, {0, 0}, 0x1, 0, false},
                           {kElementIcon, 334, {43, 176}, 0x3, 2, true},
                           {kElementIcon, 334, {86, 176}, 0x3, 2, true},
                           {kElementIcon, 334, {129, 176}, 0x3, 2, true},
                           {kElementIcon, 334, {174, 176}, 0x3, 2, true},
                           {kElementIcon, 322, {0, 0}, 0x3, 1, true},
                           {kElementNeedle, 323, {24, 217}, 0x3, 0, true},
                           {kElementIcon, 324, {60, 74}, 0x7, 10, true},
                           {kElementIcon, 324, {97, 74}, 0x7, 10, true},
                           {kElementIcon, 324, {133, 74}, 0x7, 10, true},
                           {kElementIcon, 324, {169, 74}, 0x7, 10, true},
                       });
    ExpectNeedle("ITV", 7, {21, 21}, 18, {{24, 196, 0.0}, {24, 238, 5.0}, {24, 196, 10.0}});
}

TEST_F(GaugeRecords, ItvMouseListHasTheCoverAndFourButtons) {
    ExpectChildAreas("ITV", {
                                Child(35, 135, 175, 35, 5, 0x80000000),
                                Child(43, 176, 36, 36, 5, kButtonEvents),
                                Child(86, 176, 36, 36, 5, kButtonEvents),
                                Child(129, 176, 36, 36, 5, kButtonEvents),
                                Child(174, 176, 36, 36, 5, kButtonEvents),
                            });
}

TEST_F(GaugeRecords, So72ChainIsBackgroundLetteringSwitchSelectorLampAndFourDigits) {
    ExpectChain("SO72", {
                            {kElementStaticImage, 512, {0, 0}, 0x1, 0, false},
                            {kElementIcon, 516, {0, 0}, 0x4001, 1, false},
                            {kElementIcon, 517, {233, 70}, 0x3, 2, true},
                            {kElementNeedle, 513, {164, 74}, 0x3, 0, true},
                            {kElementIcon, 514, {53, 41}, 0x7, 2, true},
                            {kElementIcon, 519, {102, 124}, 0x7, 10, true},
                            {kElementIcon, 519, {132, 124}, 0x7, 10, true},
                            {kElementIcon, 519, {162, 124}, 0x7, 10, true},
                            {kElementIcon, 519, {192, 124}, 0x7, 10, true},
                        });
    ExpectNeedle("SO72", 4, {32, 19}, 50,
                 {{128, 74, 0.0},
                  {132, 56, 1.0},
                  {146, 42, 2.0},
                  {164, 38, 3.0},
                  {182, 42, 4.0},
                  {196, 56, 5.0},
                  {200, 74, 6.0}});
}

TEST_F(GaugeRecords, So72MouseListHasSwitchSelectorLampTestAndDigitButtons) {
    ExpectChildAreas("SO72", {
                                 Child(233, 70, 38, 14, 5, 0x20000000),
                                 Child(165, 35, 49, 76, 1, 0x20000000),
                                 Child(114, 35, 49, 76, 2, 0x20000000),
                                 Child(37, 88, 40, 40, 5, kButtonEvents),
                                 Child(75, 175, 36, 36, 5, 0x20000000),
                                 Child(115, 175, 36, 36, 5, 0x20000000),
                                 Child(155, 175, 36, 36, 5, 0x20000000),
                                 Child(195, 175, 36, 36, 5, 0x20000000),
                             });
}

// ---------------------------------------------------------------------------------------------------------------
// ITV

enum ItvArea { kCover = 1, kHoursTensButton, kHoursUnitsButton, kMinutesTensButton, kMinutesUnitsButton };
enum ItvElement { kFirstButtonPicture = 2, kCoverPicture = 6, kItvNeedle = 7, kHoursTens = 8, kMinutesUnits = 11 };

class ItvClock : public ModuleFixture {
protected:
    void PowerClock() {
        siblings.SetSlot(kBusSlot, 1.0);
        ClickArea("AZS_ITV", 1);
        Frames(1);
    }
    void ToggleCover() { EXPECT_TRUE(ClickArea("ITV", kCover, mouse_flag::kRightSingle)); }
    // A press and its release, with no frame in between.
    void Tap(int area) {
        ClickArea("ITV", area, mouse_flag::kLeftSingle);
        ClickArea("ITV", area, mouse_flag::kLeftRelease);
    }
    // From 00:00, with the cover open: each press counted and carried before the next.
    void SetClock(int hours, int minutes) {
        const int presses[] = {hours / 10, hours % 10, minutes / 10, minutes % 10};
        for (int i = 0; i < 4; ++i)
            for (int n = 0; n < presses[i]; ++n) {
                Tap(kHoursTensButton + i);
                Frames(1);
            }
        ASSERT_EQ(Shown(), Clock(hours, minutes));
    }
    static std::string Clock(int hours, int minutes) {
        return std::string{static_cast<char>('0' + hours / 10), static_cast<char>('0' + hours % 10), ':',
                           static_cast<char>('0' + minutes / 10), static_cast<char>('0' + minutes % 10)};
    }
    // The four digit elements as drawn: a digit, '-' for nothing, '?' for a picture that isn't a digit.
    std::string Shown() {
        std::string shown;
        for (int number = kHoursTens; number <= kMinutesUnits; ++number) {
            if (number == kHoursTens + 2) shown += ':';
            const double value = Value("ITV", number);
            if (value == -1.0)
                shown += '-';
            else if (value >= 0.0 && value <= 9.0 && value == static_cast<int>(value))
                shown += static_cast<char>('0' + static_cast<int>(value));
            else
                shown += '?';
        }
        return shown;
    }
    double ButtonPicture(int button) { return Value("ITV", kFirstButtonPicture + button - 1); }
};

TEST_F(ItvClock, CoverStartsClosedAndARightClickOnTheLabelBandTogglesIt) {
    EXPECT_EQ(Value("ITV", kCoverPicture), 0.0);
    ToggleCover();
    EXPECT_EQ(Value("ITV", kCoverPicture), -1.0);
    ToggleCover();
    EXPECT_EQ(Value("ITV", kCoverPicture), 0.0);
    // The band answers the right button only.
    EXPECT_FALSE(ClickArea("ITV", kCover, mouse_flag::kLeftSingle));
    EXPECT_EQ(Value("ITV", kCoverPicture), 0.0);
}

TEST_F(ItvClock, NeedleStaysOnItsRestingPoint) {
    EXPECT_EQ(Value("ITV", kItvNeedle), 0.0);
    ToggleCover();
    Tap(kMinutesUnitsButton);
    Frames(2);
    EXPECT_EQ(Value("ITV", kItvNeedle), 0.0);
}

TEST_F(ItvClock, UnpoweredClockShowsNothing) {
    EXPECT_EQ(Shown(), "--:--");
    Frames(3);
    EXPECT_EQ(Shown(), "--:--");
}

TEST_F(ItvClock, ButtonsUnderTheClosedCoverNeitherMoveNorCount) {
    PowerClock();
    ASSERT_EQ(Shown(), "00:00");
    for (int button = 1; button <= 4; ++button) {
        ClickArea("ITV", kHoursTensButton + button - 1, mouse_flag::kLeftSingle);
        EXPECT_EQ(ButtonPicture(button), 0.0) << button;
        ClickArea("ITV", kHoursTensButton + button - 1, mouse_flag::kLeftRelease);
    }
    Frames(1);
    EXPECT_EQ(Shown(), "00:00");
}

TEST_F(ItvClock, EachButtonIsDrawnPressedUntilReleaseOrLeave) {
    ToggleCover();
    for (int button = 1; button <= 4; ++button) {
        SCOPED_TRACE(button);
        const int area = kHoursTensButton + button - 1;
        ClickArea("ITV", area, mouse_flag::kLeftSingle);
        EXPECT_EQ(ButtonPicture(button), 1.0);
        for (int other = 1; other <= 4; ++other) {
            if (other != button) {
                EXPECT_EQ(ButtonPicture(other), 0.0) << other;
            }
        }
        ClickArea("ITV", area, mouse_flag::kLeftRepeat);
        EXPECT_EQ(ButtonPicture(button), 1.0);
        ClickArea("ITV", area, mouse_flag::kLeftRelease);
        EXPECT_EQ(ButtonPicture(button), 0.0);

        ClickArea("ITV", area, mouse_flag::kLeftSingle);
        ClickArea("ITV", area, mouse_flag::kLeave);
        EXPECT_EQ(ButtonPicture(button), 0.0);
    }
}

TEST_F(ItvClock, EachButtonAdvancesItsOwnDigitOncePerPress) {
    PowerClock();
    ToggleCover();
    const struct {
        int area;
        const char* shown;
    } rows[] = {
        {kHoursTensButton, "10:00"},
        {kHoursUnitsButton, "11:00"},
        {kMinutesTensButton, "11:10"},
        {kMinutesUnitsButton, "11:11"},
    };
    for (const auto& row : rows) {
        PressArea("ITV", row.area, 5);
        Frames(1);
        EXPECT_EQ(Shown(), row.shown) << row.area;
    }
}

TEST_F(ItvClock, MinutesUnitsAt1239GiveTheCarryOnTheNextUpdate) {
    PowerClock();
    ToggleCover();
    SetClock(12, 39);
    Tap(kMinutesUnitsButton);
    // The digit holds 10 until the update carries it: no picture for that.
    EXPECT_EQ(Shown(), "12:3-");
    Frames(1);
    EXPECT_EQ(Shown(), "12:40");
}

TEST_F(ItvClock, HoursTensAt2130ShowThreeUntilTheUpdateWrapsIt) {
    PowerClock();
    ToggleCover();
    SetClock(21, 30);
    Tap(kHoursTensButton);
    EXPECT_EQ(Shown(), "31:30");
    Frames(1);
    EXPECT_EQ(Shown(), "01:30");
}

TEST_F(ItvClock, CarriesRunThroughToTheHours) {
    PowerClock();
    ToggleCover();
    const struct {
        int hours, minutes, area;
        const char* after;
    } rows[] = {
        {12, 59, kMinutesUnitsButton, "13:00"}, {9, 50, kMinutesTensButton, "10:00"},
        {19, 0, kHoursUnitsButton, "20:00"},    {23, 0, kHoursUnitsButton, "00:00"},
        {15, 0, kHoursTensButton, "00:00"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.after);
        // Back to 00:00 by cutting the power for a frame.
        siblings.SetSlot(kBusSlot, 0.0);
        Frames(1);
        siblings.SetSlot(kBusSlot, 1.0);
        Frames(1);
        SetClock(row.hours, row.minutes);
        Tap(row.area);
        Frames(1);
        EXPECT_EQ(Shown(), row.after);
    }
}

TEST_F(ItvClock, WithTheBreakerOffPressesAreUndoneByTheNextUpdate) {
    siblings.SetSlot(kBusSlot, 1.0);
    Frames(1);
    ToggleCover();
    Tap(kMinutesUnitsButton);
    Tap(kHoursUnitsButton);
    EXPECT_EQ(Shown(), "--:--");
    Frames(1);
    EXPECT_EQ(Shown(), "--:--");
    ClickArea("AZS_ITV", 1);
    Frames(1);
    EXPECT_EQ(Shown(), "00:00");
}

TEST_F(ItvClock, WithTheBusOffTheBreakerAloneShowsNothing) {
    ClickArea("AZS_ITV", 1);
    Frames(2);
    EXPECT_EQ(Shown(), "--:--");
}

TEST_F(ItvClock, ASecondButtonPressedBeforeTheFirstIsReleasedDoesNotCount) {
    PowerClock();
    ToggleCover();
    ClickArea("ITV", kHoursUnitsButton, mouse_flag::kLeftSingle);
    Frames(1);
    ClickArea("ITV", kMinutesUnitsButton, mouse_flag::kLeftSingle);
    Frames(1);
    EXPECT_EQ(Shown(), "01:00");
    // Both are drawn pressed; the first release frees the shared latch.
    EXPECT_EQ(ButtonPicture(2), 1.0);
    EXPECT_EQ(ButtonPicture(4), 1.0);
    ClickArea("ITV", kMinutesUnitsButton, mouse_flag::kLeftRelease);
    ClickArea("ITV", kHoursUnitsButton, mouse_flag::kLeftRelease);
    Frames(1);
    EXPECT_EQ(Shown(), "01:00");
}

TEST_F(ItvClock, HeldButtonCountsOnceHoweverLong) {
    PowerClock();
    ToggleCover();
    PressArea("ITV", kMinutesUnitsButton, 20);
    Frames(1);
    EXPECT_EQ(Shown(), "00:01");
}

// Presses of any buttons, in any number, and a minute of the panel clock, all before one update: every press and
// the minute count, the carries catch every digit, and the clock then counts on normally.
TEST_F(ItvClock, PressesAndTheMinuteBeforeOneUpdateAllCountAndCarry) {
    constexpr int kMinute = 0;  // a change of the panel clock instead of a press
    PowerClock();
    ToggleCover();
    const struct {
        int hours, minutes;
        std::vector<int> presses;
        const char* after;
    } rows[] = {
        {0, 59, {kMinutesUnitsButton, kMinutesTensButton}, "01:10"},
        {0, 59, {kMinutesTensButton, kMinutesUnitsButton}, "01:10"},
        {9, 50, {kHoursUnitsButton, kMinutesTensButton}, "11:00"},
        {0, 59, {kMinutesUnitsButton, kMinute}, "01:01"},
        {9, 59, {kHoursUnitsButton, kMinutesTensButton, kMinutesUnitsButton, kMinute}, "11:11"},
        {0, 9, {kMinutesUnitsButton, kMinutesUnitsButton, kMinutesUnitsButton}, "00:12"},
        {0, 50, {kMinutesTensButton, kMinutesTensButton, kMinutesTensButton}, "01:20"},
        {9, 0, {kHoursUnitsButton, kHoursUnitsButton, kHoursUnitsButton}, "12:00"},
        {21, 0, {kHoursTensButton, kHoursTensButton}, "11:00"},
        {23, 0, {kHoursUnitsButton, kHoursUnitsButton}, "00:00"},
    };
    double panelClock = 0.0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.after);
        siblings.SetSlot(kBusSlot, 0.0);
        Frames(1);
        siblings.SetSlot(kBusSlot, 1.0);
        Frames(1);
        SetClock(row.hours, row.minutes);
        for (int press : row.presses) {
            if (press == kMinute)
                simulator.SetVariable(kPanelClockToken, ++panelClock);
            else
                Tap(press);
        }
        Frames(1);
        EXPECT_EQ(Shown(), row.after);
        Frames(1);  // the minute source latches again
        Tap(kMinutesUnitsButton);
        Frames(1);
        const std::string after = row.after;
        EXPECT_EQ(Shown(), after.substr(0, 4) + static_cast<char>(after[4] + 1)) << "counts on";
    }
}

TEST_F(ItvClock, DigitsBelowTheCarryStillCountEveryPressBeforeAnUpdate) {
    PowerClock();
    ToggleCover();
    for (int i = 0; i < 4; ++i) Tap(kMinutesUnitsButton);
    EXPECT_EQ(Shown(), "00:04");
    Frames(1);
    EXPECT_EQ(Shown(), "00:04");
}

TEST_F(ItvClock, CountsOneMinutePerChangeOfThePanelClock) {
    simulator.SetVariable(kPanelClockToken, 100.0);
    PowerClock();
    Frames(1);
    EXPECT_EQ(Shown(), "00:00");
    simulator.SetVariable(kPanelClockToken, 101.0);
    Frames(2);
    EXPECT_EQ(Shown(), "00:01");
    simulator.SetVariable(kPanelClockToken, 102.0);
    Frames(2);
    EXPECT_EQ(Shown(), "00:02");
}

// ---------------------------------------------------------------------------------------------------------------
// SO72

enum So72Area { kSwitch = 1, kModeUp, kModeDown, kLampTest, kDigitButton1 };
enum So72Element { kLettering = 2, kSwitchPicture = 3, kModeNeedle = 4, kReplyLamp = 5, kCodeDigit1 = 6 };

class So72Panel : public ModuleFixture {
protected:
    void PowerTransponder() {
        siblings.SetSlot(kBusSlot, 1.0);
        siblings.SetSlot(kTransponderPowerSlot, 1.0);
        Frames(1);
    }
    void SetMode(int mode) {
        for (int i = 0; i < 6; ++i) ClickArea("SO72", kModeDown);
        for (int i = 0; i < mode; ++i) ClickArea("SO72", kModeUp);
        ASSERT_EQ(Value("SO72", kModeNeedle), mode);
    }
    void SetCode(std::uint32_t bcd) {
        simulator.SetIntegerVariable(Simulator::kTransponderCodeToken, bcd);
        Frames(1);
    }
    std::vector<double> Digits() {
        std::vector<double> digits;
        for (int n = 0; n < 4; ++n) digits.push_back(Value("SO72", kCodeDigit1 + n));
        return digits;
    }
    std::vector<std::uint32_t> SentEvents() const {
        std::vector<std::uint32_t> events;
        for (const auto& action : simulator.actions())
            if (action.slot == panels_slot::kSendEvent) {
                EXPECT_EQ(action.second, 0u);
                events.push_back(action.first);
            }
        return events;
    }
    const std::vector<double> kNothing{-1.0, -1.0, -1.0, -1.0};
};

TEST_F(So72Panel, LetteringHasNoCallback) {
    const auto* lettering = reinterpret_cast<const ELEMENT_ICON*>(Element("SO72", kLettering));
    ASSERT_NE(lettering, nullptr);
    EXPECT_EQ(lettering->callback, nullptr);
}

TEST_F(So72Panel, SwitchTogglesItsPicture) {
    EXPECT_EQ(Value("SO72", kSwitchPicture), 0.0);
    EXPECT_TRUE(ClickArea("SO72", kSwitch));
    EXPECT_EQ(Value("SO72", kSwitchPicture), 1.0);
    EXPECT_TRUE(ClickArea("SO72", kSwitch));
    EXPECT_EQ(Value("SO72", kSwitchPicture), 0.0);
}

TEST_F(So72Panel, SelectorStepsThroughTheSevenModesAndStopsAtTheEnds) {
    EXPECT_EQ(Value("SO72", kModeNeedle), 0.0);
    EXPECT_TRUE(ClickArea("SO72", kModeDown));
    EXPECT_EQ(Value("SO72", kModeNeedle), 0.0);
    for (int mode = 1; mode <= 6; ++mode) {
        ClickArea("SO72", kModeUp);
        EXPECT_EQ(Value("SO72", kModeNeedle), mode);
    }
    EXPECT_TRUE(ClickArea("SO72", kModeUp));
    EXPECT_EQ(Value("SO72", kModeNeedle), 6.0);
    for (int mode = 5; mode >= 0; --mode) {
        ClickArea("SO72", kModeDown);
        EXPECT_EQ(Value("SO72", kModeNeedle), mode);
    }
    EXPECT_TRUE(ClickArea("SO72", kModeDown));
    EXPECT_EQ(Value("SO72", kModeNeedle), 0.0);
}

TEST_F(So72Panel, UnpoweredPanelShowsNoCodeSendsNothingAndTheLampTestStaysDark) {
    SetCode(0x1234);
    for (double bus : {0.0, 1.0}) {
        // With the bus off the transponder has no power whatever slot 115 holds, and the reverse.
        siblings.SetSlot(kBusSlot, bus);
        siblings.SetSlot(kTransponderPowerSlot, 1.0 - bus);
        Frames(1);
        for (int mode = 0; mode <= 6; ++mode) {
            SCOPED_TRACE(testing::Message() << "bus " << bus << " mode " << mode);
            SetMode(mode);
            EXPECT_EQ(Digits(), kNothing);
            for (int button = 0; button < 4; ++button) ClickArea("SO72", kDigitButton1 + button);
            EXPECT_TRUE(SentEvents().empty());
            ClickArea("SO72", kLampTest, mouse_flag::kLeftSingle);
            EXPECT_EQ(Value("SO72", kReplyLamp), -1.0);
            ClickArea("SO72", kLampTest, mouse_flag::kLeftRelease);
        }
    }
}

TEST_F(So72Panel, CodeShowsInModesFiveAndSixOnly) {
    PowerTransponder();
    SetCode(0x7012);
    const std::vector<double> code{7.0, 0.0, 1.0, 2.0};
    for (int mode = 0; mode <= 6; ++mode) {
        SetMode(mode);
        EXPECT_EQ(Digits(), mode >= 5 ? code : kNothing) << mode;
    }
}

TEST_F(So72Panel, CodeDigitsComeFromTheLowSixteenBits) {
    PowerTransponder();
    SetMode(5);
    SetCode(0xABCD4567u);
    EXPECT_EQ(Digits(), (std::vector<double>{4.0, 5.0, 6.0, 7.0}));
}

TEST_F(So72Panel, AGroupThatIsNoDecimalDigitShowsNothing) {
    PowerTransponder();
    SetMode(6);
    SetCode(0x7A1F);
    EXPECT_EQ(Digits(), (std::vector<double>{7.0, -1.0, 1.0, -1.0}));
}

TEST_F(So72Panel, DigitButtonsSendTheirEventsInModesFiveAndSix) {
    PowerTransponder();
    SetCode(0x1234);
    for (int mode = 0; mode <= 4; ++mode) {
        SetMode(mode);
        for (int button = 0; button < 4; ++button) ClickArea("SO72", kDigitButton1 + button);
    }
    EXPECT_TRUE(SentEvents().empty());

    for (int mode : {5, 6}) {
        SCOPED_TRACE(mode);
        SetMode(mode);
        simulator.ClearRecords();
        for (int button = 0; button < 4; ++button) EXPECT_TRUE(ClickArea("SO72", kDigitButton1 + button));
        EXPECT_EQ(SentEvents(), (std::vector<std::uint32_t>{65651, 65652, 65653, 65654}));
    }
    // The simulator advanced each digit twice; the display shows the code once the next snapshot has it.
    Frames(1);
    EXPECT_EQ(Digits(), (std::vector<double>{3.0, 4.0, 5.0, 6.0}));
}

TEST_F(So72Panel, LampTestLightsTheLampWhilePoweredInModeOneAndAbove) {
    PowerTransponder();
    SetMode(0);
    ClickArea("SO72", kLampTest, mouse_flag::kLeftSingle);
    EXPECT_EQ(Value("SO72", kReplyLamp), -1.0);
    ClickArea("SO72", kLampTest, mouse_flag::kLeftRelease);

    for (int mode = 1; mode <= 6; ++mode) {
        SCOPED_TRACE(mode);
        SetMode(mode);
        ClickArea("SO72", kLampTest, mouse_flag::kLeftSingle);
        EXPECT_EQ(Value("SO72", kReplyLamp), 0.0);
        ClickArea("SO72", kLampTest, mouse_flag::kLeftRepeat);
        EXPECT_EQ(Value("SO72", kReplyLamp), 0.0);
        ClickArea("SO72", kLampTest, mouse_flag::kLeftRelease);
        EXPECT_EQ(Value("SO72", kReplyLamp), -1.0);
        ClickArea("SO72", kLampTest, mouse_flag::kLeftSingle);
        ClickArea("SO72", kLampTest, mouse_flag::kLeave);
        EXPECT_EQ(Value("SO72", kReplyLamp), -1.0);
    }
}

TEST_F(So72Panel, ReplyLampBlinksInModesTwoToFourOnly) {
    simulator.frameRate = 4.0;
    PowerTransponder();
    for (int mode = 0; mode <= 6; ++mode) {
        SCOPED_TRACE(mode);
        SetMode(mode);
        int litFrames = 0;
        // Six seconds of simulator time.
        for (int frame = 0; frame < 24; ++frame) {
            Frames(1);
            if (Value("SO72", kReplyLamp) == 0.0) ++litFrames;
        }
        if (mode >= 2 && mode <= 4) {
            EXPECT_GE(litFrames, 3);
        } else {
            EXPECT_EQ(litFrames, 0);
        }
    }
}

}  // namespace
