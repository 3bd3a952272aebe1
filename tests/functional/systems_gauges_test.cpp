// The breakers, push-buttons and lamps of the aircraft systems, the cabin-pressure setter with its window toggles,
// the messages window and the test readout, as the simulator sees them through a freshly loaded module: their
// records, what their elements show and what their mouse areas do.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "support/gauge_record_checks.h"
#include "support/module_fixture.h"

namespace {

// Exchanger slots the systems update reads and writes.
constexpr int kBusSlot = 109;
constexpr int kSsosInput1Slot = 29;
constexpr int kSsosInput2Slot = 113;
constexpr int kSsosInput3Slot = 112;
constexpr int kPressureSignalSlot = 103;
constexpr int kBreakerWordSlot = 102;
constexpr int kSetterSlot = 10;
constexpr int kSirenEnableSlot = 64;
constexpr int kReverseSlot = 70;

// Simulator variables.
constexpr int kPressureSettingToken = 342;
constexpr int kGroundSpeedToken = 832;  // metres per second
constexpr int kOnGroundToken = 60;
constexpr int kBrakesToken = 322;
constexpr int kAirTemperatureToken = 341;
constexpr int kFuelToken = 386;
constexpr int kEngineTokens[] = {625, 644, 663};

constexpr std::uint32_t kSetterWindow = 11240;
constexpr std::uint32_t kMessagesWindow = 11241;
constexpr std::uint32_t kEngineerPanel = 12100;

constexpr std::uint32_t kButtonEvents = 0x20220800;
constexpr std::uint32_t kSetterEvents = 0xA0200000;
constexpr std::uint32_t kPale = 0x00F4F4EA;

constexpr double kShown = 0.0;  // icon picture 0
constexpr double kHidden = -1.0;

struct ElementRow {
    ElementKind kind;
    std::int32_t bitmapId;
    PIXPOINT position;
    std::uint32_t imageFlags;
    std::int32_t pictures;  // icons only
};

struct AreaRow {
    int x, y, width, height;
    std::int32_t cursor;
    std::uint32_t eventMask;
};

struct TextRow {
    int boxWidth, boxHeight, characters;
};

class SystemsGauges : public ModuleFixture {
protected:
    void PowerBus() { ASSERT_TRUE(siblings.SetSlot(kBusSlot, 1.0)); }
    void SetSlot(int slot, double value) { ASSERT_TRUE(siblings.SetSlot(slot, value)) << slot; }

    int WindowCalls() const {
        const auto& counts = simulator.callCounts();
        const auto found = counts.find(panels_slot::kTogglePanelWindow);
        return found == counts.end() ? 0 : static_cast<int>(found->second);
    }
    std::vector<std::uint32_t> WindowsToggled() const {
        std::vector<std::uint32_t> windows;
        for (const auto& action : simulator.actions())
            if (action.slot == panels_slot::kTogglePanelWindow) windows.push_back(action.first);
        return windows;
    }

    // Icon callbacks of a two-element gauge answer through element 2.
    double Icon(const char* gauge) { return Value(gauge, 2); }

    // Button held down (a press, no release yet) and let go.
    void Press(const char* gauge) { ClickArea(gauge, 1, mouse_flag::kLeftSingle); }
    void Release(const char* gauge) { ClickArea(gauge, 1, mouse_flag::kLeftRelease); }
};

class SystemsGaugeRecords : public SystemsGauges {
protected:
    void ExpectElements(const char* name, const std::vector<ElementRow>& rows) {
        GAUGEHDR* gauge = Gauge(name);
        ASSERT_NE(gauge, nullptr);
        const auto elements = gauge_access::Elements(gauge);
        ASSERT_EQ(elements.size(), rows.size()) << name;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            SCOPED_TRACE(testing::Message() << name << " element " << i + 1);
            const ELEMENT_HEADER* element = elements[i];
            const ElementRow& row = rows[i];
            EXPECT_EQ(element->kind, row.kind);
            EXPECT_EQ(element->bitmapId, row.bitmapId);
            EXPECT_EQ(element->position.x, row.position.x);
            EXPECT_EQ(element->position.y, row.position.y);
            EXPECT_EQ(element->offset.x, 0);
            EXPECT_EQ(element->offset.y, 0);
            EXPECT_EQ(gauge_records::ModuleImageFlags(element), row.imageFlags);
            EXPECT_EQ(element->gauge, gauge);
            EXPECT_EQ(element->failures, nullptr);
            if (element->kind == kElementIcon) {
                const auto* icon = reinterpret_cast<const ELEMENT_ICON*>(element);
                EXPECT_EQ(icon->pictureCount, row.pictures);
                EXPECT_NE(icon->callback, nullptr);
            } else if (element->kind == kElementString) {
                EXPECT_NE(reinterpret_cast<const ELEMENT_STRING*>(element)->callback, nullptr);
            }
        }
        EXPECT_EQ(gauge->elements[0], elements[0]);
        EXPECT_EQ(gauge->elements[1], nullptr);
    }

    // Every element but the last holds exactly the next one.
    void ExpectChain(const char* name) {
        const auto elements = gauge_access::Elements(Gauge(name));
        for (std::size_t i = 0; i < elements.size(); ++i) {
            SCOPED_TRACE(testing::Message() << name << " element " << i + 1);
            if (i + 1 < elements.size()) {
                ASSERT_NE(elements[i]->children, nullptr);
                EXPECT_EQ(elements[i]->children[0], elements[i + 1]);
                EXPECT_EQ(elements[i]->children[1], nullptr);
            } else {
                EXPECT_EQ(elements[i]->children, nullptr);
            }
        }
    }

    void ExpectText(const char* name, int number, const TextRow& row) {
        const auto* text = reinterpret_cast<const ELEMENT_STRING*>(Element(name, number));
        ASSERT_NE(text, nullptr);
        ASSERT_EQ(text->header.kind, kElementString);
        EXPECT_EQ(text->boxWidth, row.boxWidth);
        EXPECT_EQ(text->boxHeight, row.boxHeight);
        EXPECT_EQ(text->charCount, row.characters);
        EXPECT_EQ(text->textColour, kPale);
        EXPECT_EQ(text->backgroundColour, 0u);
        EXPECT_EQ(text->highlightColour, kPale);
        EXPECT_STREQ(text->fontName, "Courier New");
        EXPECT_EQ(text->fontName[31], '\0');
        EXPECT_EQ(text->fontWeight, 400);
        EXPECT_EQ(text->charSet, 1);
        EXPECT_EQ(text->fontFlags, 32);
    }

    void ExpectMouseList(const char* name, const std::vector<AreaRow>& rows) {
        GAUGEHDR* gauge = Gauge(name);
        ASSERT_NE(gauge, nullptr);
        const MOUSERECT* list = gauge->mouseRects;
        ASSERT_NE(list, nullptr);
        const auto frameEntry = [](const MOUSERECT& rect, MouseRectKind kind) {
            EXPECT_EQ(rect.kind, kind);
            EXPECT_EQ(rect.x, 0);
            EXPECT_EQ(rect.y, 0);
            EXPECT_EQ(rect.width, 0);
            EXPECT_EQ(rect.height, 0);
            EXPECT_EQ(rect.cursor, -1);
            EXPECT_EQ(rect.eventMask, 0u);
            EXPECT_EQ(rect.handler, nullptr);
        };
        SCOPED_TRACE(name);
        frameEntry(list[0], kMouseParent);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "area " << i + 1);
            const MOUSERECT& rect = list[i + 1];
            const AreaRow& row = rows[i];
            EXPECT_EQ(rect.kind, kMouseChild);
            EXPECT_EQ(rect.x, row.x);
            EXPECT_EQ(rect.y, row.y);
            EXPECT_EQ(rect.width, row.width);
            EXPECT_EQ(rect.height, row.height);
            EXPECT_EQ(rect.cursor, row.cursor);
            EXPECT_EQ(rect.helpId, 0);
            EXPECT_EQ(rect.eventMask, row.eventMask);
            EXPECT_EQ(rect.eventId, 0);
            EXPECT_NE(rect.handler, nullptr);
        }
        frameEntry(list[rows.size() + 1], kMouseCloseParent);
        frameEntry(list[rows.size() + 2], kMouseEnd);
    }
};

// ---------------------------------------------------------------------------------------------------------------
// Records

struct SmallGaugeRow {
    const char* name;
    std::int32_t background;
    std::int32_t icon;
    std::uint32_t iconFlags;
    std::int32_t pictures;
    std::vector<AreaRow> areas;
};

const AreaRow kBreakerArea = {0, 0, 30, 60, 5, 0x20000000};
const AreaRow kButtonArea = {0, 0, 18, 18, 5, kButtonEvents};

const SmallGaugeRow kSmallGauges[] = {
    {"AZS_ITV", 320, 257, 0x3, 2, {kBreakerArea}},
    {"AZS_wing_lights", 320, 257, 0x3, 2, {kBreakerArea}},
    {"AZS_ARD_heat", 320, 257, 0x3, 2, {kBreakerArea}},
    {"AZS_door_heat", 320, 257, 0x3, 2, {kBreakerArea}},
    {"AZS_gear_vent", 320, 257, 0x3, 2, {kBreakerArea}},
    {"AZS_water_level", 320, 257, 0x3, 2, {kBreakerArea}},
    {"AZS_water_pump1", 320, 257, 0x3, 2, {kBreakerArea}},
    {"AZS_water_pump2", 320, 257, 0x3, 2, {kBreakerArea}},
    {"AZS_Thvost_signal", 320, 257, 0x3, 2, {kBreakerArea}},
    {"AZS_sliv_heat", 320, 1282, 0x3, 3, {{0, 0, 30, 30, 1, 0x20000000}, {0, 30, 30, 30, 1, 0x20000000}}},
    {"SSOS_btn1", 260, 261, 0x3, 1, {kButtonArea}},
    {"SSOS_btn2", 260, 261, 0x3, 1, {kButtonArea}},
    {"SSOS_btn3", 260, 261, 0x3, 1, {kButtonArea}},
    {"water_level_check", 260, 261, 0x3, 1, {kButtonArea}},
    {"sliv_heat_check_btn", 260, 261, 0x3, 1, {kButtonArea}},
    {"Thvost_check_1", 260, 261, 0x3, 1, {kButtonArea}},
    {"Thvost_check_2", 260, 261, 0x3, 1, {kButtonArea}},
    {"SSOS_lamp", 339, 340, 0x7, 1, {}},
    {"water_lamp_0", 560, 561, 0x7, 1, {}},
    {"water_lamp_1_4", 560, 562, 0x7, 1, {}},
    {"water_lamp_1_2", 560, 563, 0x7, 1, {}},
    {"water_lamp_1", 560, 564, 0x7, 1, {}},
    {"sliv_heat_lamp", 339, 340, 0x7, 1, {}},
    {"Thvost_lamp", 1285, 1286, 0x7, 1, {}},
    {"BI_lamp", 1287, 1288, 0x7, 1, {}},
    {"Eng_over_toggl",
     1289,
     1290,
     0x7,
     1,
     {{0, 2, 341, 84, 5, 0x20000000}, {342, 2, 341, 84, 5, 0x20000000}, {683, 2, 341, 84, 5, 0x20000000}}},
    {"Messages", 592, 593, 0x3, 4, {{0, 0, 600, 300, 5, 0x20000000}}},
};

TEST_F(SystemsGaugeRecords, TwoElementGaugesCarryTheirPictureAndMouseAreas) {
    for (const SmallGaugeRow& row : kSmallGauges) {
        ExpectElements(row.name, {
                                     {kElementStaticImage, row.background, {0, 0}, 0x1, 0},
                                     {kElementIcon, row.icon, {0, 0}, row.iconFlags, row.pictures},
                                 });
        ExpectChain(row.name);
        ExpectMouseList(row.name, row.areas);
    }
}

TEST_F(SystemsGaugeRecords, EachBreakerButtonAndLampHasItsOwnRecordsAndHandlers) {
    std::vector<const void*> seen;
    for (const SmallGaugeRow& row : kSmallGauges) {
        GAUGEHDR* gauge = Gauge(row.name);
        ASSERT_NE(gauge, nullptr);
        for (ELEMENT_HEADER* element : gauge_access::Elements(gauge)) seen.push_back(element);
        seen.push_back(gauge->mouseRects);
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end()) << "two gauges share a record";

    // Buttons keep their own picture flag: their callbacks differ even where their fields are the same.
    EXPECT_NE(reinterpret_cast<ELEMENT_ICON*>(Element("Thvost_check_1", 2))->callback,
              reinterpret_cast<ELEMENT_ICON*>(Element("Thvost_check_2", 2))->callback);
    EXPECT_NE(reinterpret_cast<ELEMENT_ICON*>(Element("SSOS_btn1", 2))->callback,
              reinterpret_cast<ELEMENT_ICON*>(Element("SSOS_btn2", 2))->callback);
}

TEST_F(SystemsGaugeRecords, SetterIsFaceTwoOverlaysAndReadout) {
    ExpectElements("zad_ARD", {
                                  {kElementStaticImage, 336, {0, 0}, 0x1, 0},
                                  {kElementIcon, 338, {0, 0}, 0x3, 1},
                                  {kElementIcon, 337, {0, 0}, 0x7, 1},
                                  {kElementString, -1, {90, 87}, 0x7, 0},
                              });
    ExpectChain("zad_ARD");
    ExpectText("zad_ARD", 4, {55, 20, 3});
    ExpectMouseList("zad_ARD", {
                                   {90, 130, 28, 58, 2, kSetterEvents},
                                   {119, 130, 28, 58, 1, kSetterEvents},
                                   {0, 280, 366, 33, 5, 0x20000000},
                               });
}

TEST_F(SystemsGaugeRecords, WindowTogglesAreOneSpotWithOneArea) {
    for (const char* name : {"Eng_R_toggl", "zad_SRD_toggl"}) {
        ExpectElements(name, {{kElementStaticImage, 341, {0, 0}, 0x1, 0}});
        ExpectChain(name);
        ExpectMouseList(name, {{0, 0, 10, 10, 5, 0x20000000}});
    }
}

TEST_F(SystemsGaugeRecords, TestReadoutHasTwoLinesSideBySide) {
    ExpectElements("test", {
                               {kElementStaticImage, 1291, {0, 0}, 0x1, 0},
                               {kElementString, -1, {3, 5}, 0x7, 0},
                               {kElementString, -1, {3, 30}, 0x7, 0},
                           });
    const auto elements = gauge_access::Elements(Gauge("test"));
    ASSERT_EQ(elements.size(), 3u);
    ASSERT_NE(elements[0]->children, nullptr);
    EXPECT_EQ(elements[0]->children[0], elements[1]);
    EXPECT_EQ(elements[0]->children[1], elements[2]);
    EXPECT_EQ(elements[0]->children[2], nullptr);
    EXPECT_EQ(elements[1]->children, nullptr);
    EXPECT_EQ(elements[2]->children, nullptr);
    ExpectText("test", 2, {103, 20, 11});
    ExpectText("test", 3, {103, 20, 11});
    ExpectMouseList("test", {});
}

// ---------------------------------------------------------------------------------------------------------------
// Breakers

const char* const kBreakers[] = {
    "AZS_ITV",         "AZS_wing_lights", "AZS_ARD_heat",    "AZS_door_heat",     "AZS_gear_vent",
    "AZS_water_level", "AZS_water_pump1", "AZS_water_pump2", "AZS_Thvost_signal",
};

TEST_F(SystemsGauges, ALeftClickFlipsABreakerAndOnlyThatOne) {
    for (const char* breaker : kBreakers) {
        SCOPED_TRACE(breaker);
        EXPECT_EQ(Icon(breaker), 0.0);
        EXPECT_TRUE(ClickArea(breaker, 1));
        EXPECT_EQ(Icon(breaker), 1.0);
        for (const char* other : kBreakers)
            if (std::strcmp(other, breaker) != 0) {
                EXPECT_EQ(Icon(other), 0.0) << other;
            }
        EXPECT_TRUE(ClickArea(breaker, 1));
        EXPECT_EQ(Icon(breaker), 0.0);
    }
}

TEST_F(SystemsGauges, ARightClickOrAHeldButtonNeverReachesABreaker) {
    for (const char* breaker : kBreakers) {
        SCOPED_TRACE(breaker);
        EXPECT_FALSE(ClickArea(breaker, 1, mouse_flag::kRightSingle));
        EXPECT_FALSE(ClickArea(breaker, 1, mouse_flag::kLeftRepeat));
        EXPECT_FALSE(ClickArea(breaker, 1, mouse_flag::kLeftRelease));
        EXPECT_EQ(Icon(breaker), 0.0);
    }
}

TEST_F(SystemsGauges, BreakersPersistAcrossFrames) {
    ClickArea("AZS_wing_lights", 1);
    Frames(3);
    EXPECT_EQ(Icon("AZS_wing_lights"), 1.0);
}

// Needs the systems update: the breaker word goes out through slot 102.
TEST_F(SystemsGauges, DoorHeatAndGearVentBreakersMakeTheBreakerWord) {
    struct Row {
        bool doorHeat, gearVent;
        double word;
    };
    for (const Row& row :
         {Row{false, false, 0.0}, Row{true, false, 1.0}, Row{false, true, 2.0}, Row{true, true, 3.0}}) {
        SCOPED_TRACE(testing::Message() << "door " << row.doorHeat << " vent " << row.gearVent);
        if ((Icon("AZS_door_heat") == 1.0) != row.doorHeat) ClickArea("AZS_door_heat", 1);
        if ((Icon("AZS_gear_vent") == 1.0) != row.gearVent) ClickArea("AZS_gear_vent", 1);
        Frames(1);
        double word = -2.0;
        ASSERT_TRUE(siblings.ReadSlot(kBreakerWordSlot, word));
        EXPECT_EQ(word, row.word);
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Drain-heating switch

TEST_F(SystemsGauges, DrainHeatSwitchStepsBetweenItsEndsAndStopsThere) {
    constexpr int kUpperHalf = 1, kLowerHalf = 2;
    struct Step {
        int area;
        double expected;
    };
    EXPECT_EQ(Icon("AZS_sliv_heat"), 1.0) << "starts in the middle, off";
    for (const Step& step : {Step{kUpperHalf, 2.0}, Step{kUpperHalf, 2.0}, Step{kLowerHalf, 1.0}, Step{kLowerHalf, 0.0},
                             Step{kLowerHalf, 0.0}, Step{kUpperHalf, 1.0}}) {
        EXPECT_TRUE(ClickArea("AZS_sliv_heat", step.area));
        EXPECT_EQ(Icon("AZS_sliv_heat"), step.expected);
    }
    EXPECT_FALSE(ClickArea("AZS_sliv_heat", kUpperHalf, mouse_flag::kRightSingle));
    EXPECT_EQ(Icon("AZS_sliv_heat"), 1.0);
}

// Needs the systems update.
TEST_F(SystemsGauges, DrainHeatLampLightsOffTheMiddleOrWhileCheckedWithTheBusLive) {
    PowerBus();
    Frames(1);
    EXPECT_EQ(Icon("sliv_heat_lamp"), kHidden);
    ClickArea("AZS_sliv_heat", 1);  // 2
    Frames(1);
    EXPECT_EQ(Icon("sliv_heat_lamp"), kShown);
    ClickArea("AZS_sliv_heat", 2);
    ClickArea("AZS_sliv_heat", 2);  // 0
    Frames(1);
    EXPECT_EQ(Icon("sliv_heat_lamp"), kShown);
    SetSlot(kBusSlot, 0.0);
    Frames(1);
    EXPECT_EQ(Icon("sliv_heat_lamp"), kHidden);
    SetSlot(kBusSlot, 1.0);
    ClickArea("AZS_sliv_heat", 1);  // 1, off
    Frames(1);
    EXPECT_EQ(Icon("sliv_heat_lamp"), kHidden);

    Press("sliv_heat_check_btn");
    Frames(1);
    EXPECT_EQ(Icon("sliv_heat_lamp"), kShown);
    Release("sliv_heat_check_btn");
    Frames(1);
    EXPECT_EQ(Icon("sliv_heat_lamp"), kHidden);
}

// ---------------------------------------------------------------------------------------------------------------
// Push-buttons

const char* const kButtons[] = {
    "SSOS_btn1",           "SSOS_btn2",      "SSOS_btn3",      "water_level_check",
    "sliv_heat_check_btn", "Thvost_check_1", "Thvost_check_2",
};

TEST_F(SystemsGauges, AButtonShowsPressedWhileHeldAndOnlyItself) {
    for (const char* button : kButtons) {
        SCOPED_TRACE(button);
        EXPECT_EQ(Icon(button), kHidden);
        EXPECT_TRUE(ClickArea(button, 1, mouse_flag::kLeftSingle));
        EXPECT_EQ(Icon(button), kShown);
        for (const char* other : kButtons)
            if (std::strcmp(other, button) != 0) {
                EXPECT_EQ(Icon(other), kHidden) << other;
            }
        Frames(2);
        EXPECT_TRUE(ClickArea(button, 1, mouse_flag::kLeftRepeat));
        EXPECT_EQ(Icon(button), kShown);
        EXPECT_TRUE(ClickArea(button, 1, mouse_flag::kLeftRelease));
        EXPECT_EQ(Icon(button), kHidden);
    }
}

TEST_F(SystemsGauges, APointerLeavingAButtonLetsItGo) {
    for (const char* button : kButtons) {
        SCOPED_TRACE(button);
        ClickArea(button, 1, mouse_flag::kLeftSingle);
        EXPECT_TRUE(ClickArea(button, 1, mouse_flag::kLeave));
        EXPECT_EQ(Icon(button), kHidden);
        // A press after that is a fresh press.
        ClickArea(button, 1, mouse_flag::kLeftSingle);
        EXPECT_EQ(Icon(button), kShown);
        Release(button);
    }
}

TEST_F(SystemsGauges, ARightClickDoesNotReachAButton) {
    for (const char* button : kButtons) EXPECT_FALSE(ClickArea(button, 1, mouse_flag::kRightSingle)) << button;
}

// Needs the systems update. The siren itself is heard, not seen; with the siren armed or not the button only holds
// its picture.
TEST_F(SystemsGauges, SsosButtonsWorkWhetherTheSirenIsArmedOrNot) {
    PowerBus();
    for (const double sirenEnable : {0.0, 1.0}) {
        SetSlot(kSsosInput1Slot, 1.0);
        SetSlot(kSsosInput2Slot, 1.0);
        SetSlot(kSirenEnableSlot, sirenEnable);
        Frames(1);
        PressArea("SSOS_btn2", 1, 3);
        EXPECT_EQ(Icon("SSOS_btn2"), kHidden);
        EXPECT_EQ(Icon("SSOS_lamp"), kShown);
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Lamps

// Needs the systems update.
TEST_F(SystemsGauges, EveryLampIsDarkWithoutBusPower) {
    SetSlot(kBusSlot, 0.0);
    SetSlot(kSsosInput1Slot, 1.0);
    SetSlot(kSsosInput2Slot, 1.0);
    SetSlot(kPressureSignalSlot, 1.0);
    ClickArea("AZS_water_level", 1);
    ClickArea("AZS_Thvost_signal", 1);
    ClickArea("AZS_sliv_heat", 1);
    Press("water_level_check");
    Press("Thvost_check_1");
    Frames(2);
    for (const char* lamp : {"SSOS_lamp", "water_lamp_0", "water_lamp_1_4", "water_lamp_1_2", "water_lamp_1",
                             "sliv_heat_lamp", "Thvost_lamp", "BI_lamp", "Eng_over_toggl"})
        EXPECT_EQ(Icon(lamp), kHidden) << lamp;
}

// Needs the systems update.
TEST_F(SystemsGauges, SsosLampNeedsInputOneBusAndInputTwoOrThree) {
    struct Row {
        double input1, bus, input2, input3;
        double lamp;
    };
    const Row rows[] = {
        {0.0, 0.0, 0.0, 0.0, kHidden}, {1.0, 1.0, 0.0, 0.0, kHidden}, {1.0, 1.0, 1.0, 0.0, kShown},
        {1.0, 1.0, 0.0, 1.0, kShown},  {0.0, 1.0, 1.0, 1.0, kHidden}, {1.0, 0.0, 1.0, 1.0, kHidden},
        {1.0, 1.0, -1.0, 0.0, kShown},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.input1 << " " << row.bus << " " << row.input2 << " " << row.input3);
        SetSlot(kSsosInput1Slot, row.input1);
        SetSlot(kBusSlot, row.bus);
        SetSlot(kSsosInput2Slot, row.input2);
        SetSlot(kSsosInput3Slot, row.input3);
        Frames(1);
        EXPECT_EQ(Icon("SSOS_lamp"), row.lamp);
    }
}

// Needs the systems update. The BI light shows both on its own lamp and on the window strip.
TEST_F(SystemsGauges, BiLampLightsOnAPositivePressureSignal) {
    PowerBus();
    for (const auto& [signal, lamp] : {std::pair{0.0, kHidden}, std::pair{0.5, kShown}, std::pair{3.0, kShown},
                                       std::pair{-1.0, kHidden}, std::pair{1.0, kShown}}) {
        SCOPED_TRACE(signal);
        SetSlot(kPressureSignalSlot, signal);
        Frames(1);
        EXPECT_EQ(Icon("BI_lamp"), lamp);
        EXPECT_EQ(Icon("Eng_over_toggl"), lamp);
    }
    // A busy slot reads as -1.0.
    ASSERT_TRUE(siblings.HoldSlot(kPressureSignalSlot));
    Frames(1);
    siblings.ReleaseSlot(kPressureSignalSlot);
    EXPECT_EQ(Icon("BI_lamp"), kHidden);
}

// Needs the systems update. A full tank sits in the top band.
TEST_F(SystemsGauges, WaterCheckLightsAllFourLampsWhileHeldThenTheLevelReturns) {
    PowerBus();
    const char* const lamps[] = {"water_lamp_0", "water_lamp_1_4", "water_lamp_1_2", "water_lamp_1"};
    Frames(1);
    for (const char* lamp : lamps) EXPECT_EQ(Icon(lamp), kHidden) << lamp << ": level breaker off";

    ClickArea("water_level_check", 1, mouse_flag::kLeftSingle);
    Frames(1);
    for (const char* lamp : lamps) EXPECT_EQ(Icon(lamp), kShown) << lamp << ": check held";
    ClickArea("water_level_check", 1, mouse_flag::kLeftRepeat);
    Frames(1);
    for (const char* lamp : lamps) EXPECT_EQ(Icon(lamp), kShown) << lamp << ": still held";
    Release("water_level_check");
    Frames(1);
    for (const char* lamp : lamps) EXPECT_EQ(Icon(lamp), kHidden) << lamp << ": released";

    ClickArea("AZS_water_level", 1);
    Frames(1);
    EXPECT_EQ(Icon("water_lamp_0"), kHidden);
    EXPECT_EQ(Icon("water_lamp_1_4"), kHidden);
    EXPECT_EQ(Icon("water_lamp_1_2"), kHidden);
    EXPECT_EQ(Icon("water_lamp_1"), kShown);
}

// Needs the systems update.
TEST_F(SystemsGauges, TailLampNeedsBreakerAndAHeldCheckAndEitherReleaseClearsIt) {
    PowerBus();
    Press("Thvost_check_1");
    Frames(1);
    EXPECT_EQ(Icon("Thvost_lamp"), kHidden) << "breaker off";
    ClickArea("AZS_Thvost_signal", 1);
    Frames(1);
    EXPECT_EQ(Icon("Thvost_lamp"), kShown);

    Press("Thvost_check_2");
    Release("Thvost_check_2");
    Frames(1);
    EXPECT_EQ(Icon("Thvost_lamp"), kHidden) << "the shared flag is cleared by either release";
    EXPECT_EQ(Icon("Thvost_check_1"), kShown) << "the first button still shows pressed";

    // The held button's next event holds the flag again.
    ClickArea("Thvost_check_1", 1, mouse_flag::kLeftRepeat);
    Frames(1);
    EXPECT_EQ(Icon("Thvost_lamp"), kShown);
    Release("Thvost_check_1");
    Frames(1);
    EXPECT_EQ(Icon("Thvost_lamp"), kHidden);
}

// ---------------------------------------------------------------------------------------------------------------
// Cabin-pressure setter

// The pressure setting, in sixteenths of a millibar, whose setter start value is the given whole number.
double PressureSettingFor(int millimetres) { return (millimetres + 0.5) * 1013.0 * 16.0 / 760.0; }

// The setter's mouse areas and the clicks that reach them.
constexpr int kDown = 1, kUp = 2, kClose = 3;
constexpr std::uint32_t kLeft = mouse_flag::kLeftSingle;
constexpr std::uint32_t kRight = mouse_flag::kRightSingle;
constexpr std::uint32_t kHeld = mouse_flag::kLeftRepeat;

class CabinPressureSetter : public SystemsGauges {
protected:
    void StartAt(int millimetres) {
        simulator.SetVariable(kPressureSettingToken, PressureSettingFor(millimetres));
        Frames(1);
        ASSERT_EQ(Setter(), millimetres);
    }
    double Setter() { return Value("zad_ARD", 4); }
};

// Needs the systems update for the start value.
TEST_F(CabinPressureSetter, StartsFromThePressureSetting) {
    simulator.SetVariable(kPressureSettingToken, 16208.0);
    Frames(1);
    EXPECT_EQ(Setter(), 760.0);
    EXPECT_EQ(Text("zad_ARD", 4), "760");
    // Taken once only.
    simulator.SetVariable(kPressureSettingToken, 15200.0);
    Frames(1);
    EXPECT_EQ(Setter(), 760.0);
}

TEST_F(CabinPressureSetter, StartsAt712From950Millibars) {
    simulator.SetVariable(kPressureSettingToken, 15200.0);
    Frames(1);
    EXPECT_EQ(Setter(), 712.0);
}

struct SetterRow {
    int start;
    int area;
    std::uint32_t flags;
    int expected;
};

void PrintTo(const SetterRow& row, std::ostream* out) {
    *out << "from " << row.start << (row.area == kDown ? " down" : " up") << " with flags 0x" << std::hex << row.flags
         << std::dec << " to " << row.expected;
}

class SetterSteps : public CabinPressureSetter, public testing::WithParamInterface<SetterRow> {};

// Needs the systems update for the start value.
TEST_P(SetterSteps, StepStaysWithinTheRangeOrMovesTowardIt) {
    const SetterRow& row = GetParam();
    StartAt(row.start);
    EXPECT_TRUE(ClickArea("zad_ARD", row.area, row.flags));
    EXPECT_EQ(Setter(), row.expected);
    Frames(1);
    EXPECT_EQ(Setter(), row.expected) << "the update keeps the crew's value";
}

INSTANTIATE_TEST_SUITE_P(Bounds, SetterSteps,
                         testing::Values(SetterRow{760, kDown, kLeft, 759}, SetterRow{760, kUp, kLeft, 761},
                                         SetterRow{760, kDown, kRight, 750}, SetterRow{760, kUp, kRight, 770},
                                         SetterRow{760, kDown, kHeld, 760}, SetterRow{760, kUp, kHeld, 760},
                                         SetterRow{521, kDown, kLeft, 520}, SetterRow{520, kDown, kLeft, 520},
                                         SetterRow{529, kDown, kRight, 529}, SetterRow{530, kDown, kRight, 520},
                                         SetterRow{799, kUp, kLeft, 800}, SetterRow{800, kUp, kLeft, 800},
                                         SetterRow{791, kUp, kRight, 791}, SetterRow{790, kUp, kRight, 800}));

// A strange pressure setting puts the start far outside the range: it can only come back.
INSTANTIATE_TEST_SUITE_P(OutsideTheRange, SetterSteps,
                         testing::Values(SetterRow{900, kUp, kLeft, 900}, SetterRow{900, kUp, kRight, 900},
                                         SetterRow{900, kDown, kLeft, 899}, SetterRow{900, kDown, kRight, 890},
                                         SetterRow{801, kUp, kLeft, 801}, SetterRow{805, kDown, kRight, 795},
                                         SetterRow{300, kDown, kLeft, 300}, SetterRow{300, kDown, kRight, 300},
                                         SetterRow{300, kUp, kLeft, 301}, SetterRow{300, kUp, kRight, 310},
                                         SetterRow{519, kDown, kLeft, 519}, SetterRow{515, kUp, kRight, 525}));

// Needs the systems update for the start value.
TEST_F(CabinPressureSetter, LeftClicksReachBothEndsAndStayThere) {
    StartAt(525);
    for (int i = 0; i < 10; ++i) ClickArea("zad_ARD", kDown, kLeft);
    EXPECT_EQ(Setter(), 520.0);
    for (int i = 0; i < 40; ++i) ClickArea("zad_ARD", kUp, kRight);
    EXPECT_EQ(Setter(), 800.0);
    EXPECT_EQ(Text("zad_ARD", 4), "800");
}

// Needs the systems update for the start value.
TEST_F(CabinPressureSetter, SetterGoesOutThroughSlotTen) {
    StartAt(760);
    ClickArea("zad_ARD", kUp, kRight);
    Frames(1);
    double written = 0.0;
    ASSERT_TRUE(siblings.ReadSlot(kSetterSlot, written));
    EXPECT_EQ(written, 770.0);
}

// Needs the systems update.
TEST_F(CabinPressureSetter, PressureSignalLightsTheOverlays) {
    struct Row {
        double signal;
        double upper, lower;
    };
    const Row rows[] = {
        {0.0, kHidden, kHidden}, {1.0, kHidden, kShown},  {2.0, kShown, kHidden},
        {3.0, kShown, kShown},   {2.5, kHidden, kHidden}, {-1.0, kHidden, kHidden},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.signal);
        SetSlot(kPressureSignalSlot, row.signal);
        Frames(1);
        EXPECT_EQ(Value("zad_ARD", 2), row.upper);
        EXPECT_EQ(Value("zad_ARD", 3), row.lower);
    }
}

// The readout has room for three characters: the whole millimetres, however large the value.
TEST_F(CabinPressureSetter, ReadoutKeepsToItsThreeCharacters) {
    simulator.SetVariable(kPressureSettingToken, 1.0e9);
    Frames(1);
    EXPECT_EQ(Text("zad_ARD", 4).size(), 3u);
    EXPECT_TRUE(host.TextBuffersIntact());
}

// ---------------------------------------------------------------------------------------------------------------
// Window toggles

TEST_F(SystemsGauges, SetterToggleFlipsTheSetterWindowAndTheEngineerToggleTakesItAlong) {
    EXPECT_TRUE(ClickArea("zad_SRD_toggl", 1));
    EXPECT_TRUE(simulator.IsWindowShown(kSetterWindow));

    EXPECT_TRUE(ClickArea("Eng_R_toggl", 1));
    EXPECT_TRUE(simulator.IsWindowShown(kEngineerPanel));
    EXPECT_FALSE(simulator.IsWindowShown(kSetterWindow));
    EXPECT_EQ(WindowsToggled(), (std::vector<std::uint32_t>{kSetterWindow, kEngineerPanel, kSetterWindow}));

    // The flag stayed set, so this click clears it and shows the window again.
    EXPECT_TRUE(ClickArea("zad_SRD_toggl", 1));
    EXPECT_TRUE(simulator.IsWindowShown(kSetterWindow));
    EXPECT_TRUE(ClickArea("Eng_R_toggl", 1));
    EXPECT_FALSE(simulator.IsWindowShown(kEngineerPanel));
    EXPECT_TRUE(simulator.IsWindowShown(kSetterWindow)) << "flag clear: the setter window is left alone";
    EXPECT_EQ(WindowCalls(), 5);
}

TEST_F(SystemsGauges, EngineerToggleAloneLeavesTheSetterWindowAlone) {
    EXPECT_TRUE(ClickArea("Eng_R_toggl", 1));
    EXPECT_EQ(WindowsToggled(), std::vector<std::uint32_t>{kEngineerPanel});
}

TEST_F(SystemsGauges, SetterCloseStripHidesTheWindowAndClearsTheFlag) {
    ClickArea("zad_SRD_toggl", 1);
    EXPECT_TRUE(ClickArea("zad_ARD", kClose));
    EXPECT_FALSE(simulator.IsWindowShown(kSetterWindow));
    ClickArea("Eng_R_toggl", 1);
    EXPECT_EQ(WindowsToggled(), (std::vector<std::uint32_t>{kSetterWindow, kSetterWindow, kEngineerPanel}));
    EXPECT_FALSE(ClickArea("zad_ARD", kClose, mouse_flag::kRightSingle));
}

TEST_F(SystemsGauges, WindowStripThirdsEachFlipOneWindow) {
    const std::uint32_t windows[] = {1271, 12200, 12100};
    for (int area = 1; area <= 3; ++area) {
        SCOPED_TRACE(area);
        simulator.ClearRecords();
        EXPECT_TRUE(ClickArea("Eng_over_toggl", area));
        EXPECT_EQ(WindowsToggled(), std::vector<std::uint32_t>{windows[area - 1]});
        EXPECT_TRUE(simulator.IsWindowShown(windows[area - 1]));
    }
    // The two pixels above the thirds and the one between the first two belong to no area.
    EXPECT_FALSE(gauge_access::AreaAt(Gauge("Eng_over_toggl"), 100, 1).has_value());
    EXPECT_FALSE(gauge_access::AreaAt(Gauge("Eng_over_toggl"), 341, 40).has_value());
    EXPECT_FALSE(ClickArea("Eng_over_toggl", 1, mouse_flag::kRightSingle));
}

// ---------------------------------------------------------------------------------------------------------------
// Messages and the test readout

TEST_F(SystemsGauges, AClickWithNoMessagePendingChangesNothing) {
    Frames(1);
    EXPECT_EQ(Icon("Messages"), 0.0);
    EXPECT_TRUE(ClickArea("Messages", 1));
    EXPECT_EQ(Icon("Messages"), 0.0);
    EXPECT_EQ(WindowCalls(), 0);
    Frames(1);
    EXPECT_EQ(WindowCalls(), 0);
}

TEST_F(SystemsGauges, TestReadoutStartsAtColdBrakesAndAFullTankCutToItsCharacters) {
    EXPECT_EQ(Text("test", 2), "Ttorm 0.0");
    EXPECT_EQ(Value("test", 2), 0.0);
    // "Water 1000.00" is longer than the element.
    EXPECT_EQ(Text("test", 3), "Water 1000.");
    EXPECT_EQ(Value("test", 3), 1000.0);
    EXPECT_TRUE(host.TextBuffersIntact());
}

// Needs the systems update. A tank lasts hours, so a few frames take off a few thousandths.
TEST_F(SystemsGauges, TestReadoutFollowsTheWaterAsItIsUsed) {
    Frames(10);
    const double water = Value("test", 3);
    EXPECT_LT(water, 999.995);
    EXPECT_GT(water, 999.9);
    EXPECT_EQ(Text("test", 3), "Water 999.9");
}

// A landing that leaves two messages: the reverse switched off below 100 km/h (code 3), then brakes at 50 degrees
// (code 1) once the engines have run down.
class LandingMessages : public SystemsGauges {
protected:
    void Engines(double value) {
        for (int token : kEngineTokens) simulator.SetVariable(token, value);
    }
    void Speed(double kmh) { simulator.SetVariable(kGroundSpeedToken, kmh / 3.6); }

    void LandWithTwoMessages() {
        simulator.SetVariable(kFuelToken, 0.0);
        simulator.SetVariable(kAirTemperatureToken, 48.0);
        Engines(80.0);
        Speed(200.0);
        simulator.SetVariable(kOnGroundToken, 0.0);
        Frames(2);

        // Touchdown with the brakes on: 200 / 100 plus the air temperature, no excess mass.
        simulator.SetVariable(kOnGroundToken, 1.0);
        simulator.SetVariable(kBrakesToken, 1.0);
        Frames(1);
        Speed(50.0);
        SetSlot(kReverseSlot, 1.0);
        Frames(1);
        simulator.SetAircraftVariable(54, 63, 0, 100.0);
        Frames(1);
        ASSERT_EQ(WindowCalls(), 0) << "engines still running";
        Engines(0.0);
        Frames(1);
    }
};

// Needs the systems update and its landing model.
TEST_F(LandingMessages, NewestMessageFirstAndTheLastClickHidesTheWindow) {
    LandWithTwoMessages();
    EXPECT_EQ(Text("test", 2), "Ttorm 50.0");
    EXPECT_TRUE(simulator.IsWindowShown(kMessagesWindow));
    EXPECT_EQ(Icon("Messages"), 1.0);

    EXPECT_TRUE(ClickArea("Messages", 1));
    EXPECT_EQ(Icon("Messages"), 3.0);
    EXPECT_TRUE(simulator.IsWindowShown(kMessagesWindow));

    EXPECT_TRUE(ClickArea("Messages", 1));
    EXPECT_FALSE(simulator.IsWindowShown(kMessagesWindow));
    EXPECT_EQ(Icon("Messages"), 3.0) << "the code last at the bottom of the stack";
    EXPECT_EQ(WindowsToggled(), (std::vector<std::uint32_t>{kMessagesWindow, kMessagesWindow}));

    // Nothing pending: no change, no call, and the update does not open the window again.
    EXPECT_TRUE(ClickArea("Messages", 1));
    Frames(3);
    EXPECT_EQ(WindowCalls(), 2);
    EXPECT_EQ(Icon("Messages"), 3.0);
}

TEST_F(LandingMessages, OnlyALeftClickDismisses) {
    LandWithTwoMessages();
    EXPECT_FALSE(ClickArea("Messages", 1, mouse_flag::kRightSingle));
    EXPECT_EQ(Icon("Messages"), 1.0);
}

}  // namespace
