// The A-723 control head and its breaker as the simulator sees them through a freshly loaded module: their
// records, what their elements show and what their mouse areas do, from switch-on through the lamp test, keypad
// entry and alignment to navigation.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "support/gauge_record_checks.h"
#include "support/module_fixture.h"

namespace {

constexpr int kLatitudeToken = 71;
constexpr int kLongitudeToken = 72;
constexpr double kFramesPerSecond = 6.0;  // few frames: the receiver's times are seconds
constexpr double kHomeLat = 55.75;
constexpr double kHomeLon = 37.6;
constexpr std::uint32_t kReadoutColour = 0x00EAEAEA;

constexpr double kDark = -1.0;
constexpr double kLit = 0.0;

// Elements in chain order, 1 being the face.
enum Element {
    kKnob = 2,
    kFailure,
    kStop,
    kDeadReckoning,
    kSync,
    kZone,
    kFrom,
    kTo,
    kFirstSlotDigit,                          // 10, 11
    kFirstUpperDigit = kFirstSlotDigit + 2,   // 12 to 16
    kFirstLowerDigit = kFirstUpperDigit + 5,  // 17 to 22
    kNorth = kFirstLowerDigit + 6,
    kSouth,
    kWest,
    kEast,
    kPrecise,
    kMinus,
    kEnterLight,
    kFirstDot,  // 30 to 35
    kAircraftLatitude = kFirstDot + 6,
    kAircraftLongitude,
    kZeroReadout,
    kReceiverLatitude,
    kReceiverLongitude,
    kStations,
};

// Mouse areas in list order.
enum Area { kKnobLeft = 1, kKnobRight, kKey1, kKey0 = kKey1 + 9, kEnter, kClear, kStopKey };

struct ElementRow {
    ElementKind kind;
    std::int32_t bitmapId;
    PIXPOINT position;
    std::uint32_t imageFlags;
    std::int32_t pictures;  // icons only
};

struct TextRow {
    PIXPOINT position;
    int width, characters;
};

struct AreaRow {
    int x, y, width, height;
    std::int32_t cursor;
};

class A723Gauge : public ModuleFixture {
protected:
    void SetUp() override {
        ModuleFixture::SetUp();
        simulator.frameRate = kFramesPerSecond;
    }
    void PlaceAircraft(double lat, double lon) {
        simulator.SetVariable(kLatitudeToken, lat / 360.0 * 40007000.0);
        simulator.SetVariable(kLongitudeToken, lon / 360.0 * 281474976710656.0);
    }
    void Seconds(double seconds) { Frames(static_cast<int>(std::ceil(seconds * kFramesPerSecond))); }
    // Digits click their keys; E is ВВОД, C СБРС, S СТОП, + and - turn the knob.
    void Keys(const char* keys) {
        for (const char* k = keys; *k != '\0'; ++k) {
            if (*k == '0') ClickArea("A723", kKey0);
            if (*k >= '1' && *k <= '9') ClickArea("A723", kKey1 + (*k - '1'));
            if (*k == 'E') ClickArea("A723", kEnter);
            if (*k == 'C') ClickArea("A723", kClear);
            if (*k == 'S') ClickArea("A723", kStopKey);
            if (*k == '+') ClickArea("A723", kKnobRight);
            if (*k == '-') ClickArea("A723", kKnobLeft);
        }
    }
    void SwitchOnAndWaitForTheLampTest() {
        Keys("+");
        Seconds(10.5);
    }

    // The displays as drawn: a digit, '-' for nothing, '?' for a picture that isn't a digit.
    std::string Shown(int first, int count) {
        std::string shown;
        for (int number = first; number < first + count; ++number) {
            const double value = Value("A723", number);
            if (value == kDark)
                shown += '-';
            else if (value >= 0.0 && value <= 9.0 && value == static_cast<int>(value))
                shown += static_cast<char>('0' + static_cast<int>(value));
            else
                shown += '?';
        }
        return shown;
    }
    std::string Slot() { return Shown(kFirstSlotDigit, 2); }
    std::string Upper() { return Shown(kFirstUpperDigit, 5); }
    std::string Lower() { return Shown(kFirstLowerDigit, 6); }
    // Lit elements as '*' over a range.
    std::string Lit(int first, int last) {
        std::string lit;
        for (int number = first; number <= last; ++number) lit += Value("A723", number) == kLit ? '*' : '.';
        return lit;
    }
    std::string Lamps() { return Lit(kFailure, kTo) + "|" + Lit(kNorth, kEnterLight); }
    std::string Dots() { return Lit(kFirstDot, kFirstDot + 5); }
};

// ---------------------------------------------------------------------------------------------------------------
// Records

TEST_F(A723Gauge, HeaderIsAVisibleGaugeWithTheIdleCallback) {
    GAUGEHDR* gauge = Gauge("A723");
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(gauge->version, 900);
    EXPECT_EQ(gauge->sizeValue, 300);
    EXPECT_STREQ(gauge->name, "A723");
    EXPECT_EQ(gauge->callback, Gauge("SO72")->callback);
    EXPECT_EQ(gauge->routine1, Gauge("SO72")->routine1);
    GAUGEHDR* breaker = Gauge("AZS_A723");
    ASSERT_NE(breaker, nullptr);
    EXPECT_EQ(breaker->version, 900);
    EXPECT_STREQ(breaker->name, "AZS_A723");
    EXPECT_EQ(breaker->callback, gauge->callback);
}

TEST_F(A723Gauge, ChainIsFaceKnobLampsDigitsPointsAndReadouts) {
    const std::vector<ElementRow> rows = {
        {kElementStaticImage, 353, {0, 0}, 0x1, 0}, {kElementNeedle, 354, {158, 483}, 0x3, 0},
        {kElementIcon, 357, {457, 70}, 0x7, 1},     {kElementIcon, 361, {457, 94}, 0x7, 1},
        {kElementIcon, 358, {457, 119}, 0x7, 1},    {kElementIcon, 360, {457, 144}, 0x7, 1},
        {kElementIcon, 367, {458, 168}, 0x7, 1},    {kElementIcon, 356, {79, 237}, 0x7, 1},
        {kElementIcon, 355, {133, 237}, 0x7, 1},    {kElementIcon, 342, {79, 272}, 0x7, 10},
        {kElementIcon, 342, {132, 272}, 0x7, 10},   {kElementIcon, 342, {200, 68}, 0x7, 10},
        {kElementIcon, 342, {256, 68}, 0x7, 10},    {kElementIcon, 342, {312, 68}, 0x7, 10},
        {kElementIcon, 342, {368, 68}, 0x7, 10},    {kElementIcon, 342, {421, 68}, 0x7, 10},
        {kElementIcon, 342, {145, 146}, 0x7, 10},   {kElementIcon, 342, {200, 146}, 0x7, 10},
        {kElementIcon, 342, {256, 146}, 0x7, 10},   {kElementIcon, 342, {312, 146}, 0x7, 10},
        {kElementIcon, 342, {368, 146}, 0x7, 10},   {kElementIcon, 342, {421, 146}, 0x7, 10},
        {kElementIcon, 359, {74, 67}, 0x7, 1},      {kElementIcon, 365, {74, 89}, 0x7, 1},
        {kElementIcon, 366, {74, 145}, 0x7, 1},     {kElementIcon, 364, {74, 167}, 0x7, 1},
        {kElementIcon, 363, {133, 68}, 0x7, 1},     {kElementIcon, 362, {152, 98}, 0x7, 1},
        {kElementIcon, 368, {297, 420}, 0x7, 1},    {kElementIcon, 369, {291, 98}, 0x7, 1},
        {kElementIcon, 369, {402, 98}, 0x7, 1},     {kElementIcon, 369, {236, 175}, 0x7, 1},
        {kElementIcon, 369, {348, 175}, 0x7, 1},    {kElementIcon, 369, {291, 175}, 0x7, 1},
        {kElementIcon, 369, {402, 175}, 0x7, 1},    {kElementString, -1, {60, 30}, 0x7, 0},
        {kElementString, -1, {60, 10}, 0x7, 0},     {kElementString, -1, {200, 10}, 0x7, 0},
        {kElementString, -1, {300, 30}, 0x7, 0},    {kElementString, -1, {300, 10}, 0x7, 0},
        {kElementString, -1, {200, 30}, 0x7, 0},
    };
    GAUGEHDR* gauge = Gauge("A723");
    ASSERT_NE(gauge, nullptr);
    const auto elements = gauge_access::Elements(gauge);
    ASSERT_EQ(elements.size(), rows.size());
    ASSERT_EQ(elements.size(), 41u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "element " << i + 1);
        const ELEMENT_HEADER* element = elements[i];
        EXPECT_EQ(element->kind, rows[i].kind);
        EXPECT_EQ(element->bitmapId, rows[i].bitmapId);
        EXPECT_EQ(element->position.x, rows[i].position.x);
        EXPECT_EQ(element->position.y, rows[i].position.y);
        EXPECT_EQ(gauge_records::ModuleImageFlags(element), rows[i].imageFlags);
        EXPECT_EQ(element->gauge, gauge);
        if (i + 1 < rows.size()) {
            ASSERT_NE(element->children, nullptr);
            EXPECT_EQ(element->children[0], elements[i + 1]);
            EXPECT_EQ(element->children[1], nullptr);
        } else {
            EXPECT_EQ(element->children, nullptr);
        }
        if (element->kind == kElementIcon) {
            const auto* icon = reinterpret_cast<const ELEMENT_ICON*>(element);
            EXPECT_EQ(icon->pictureCount, rows[i].pictures);
            EXPECT_NE(icon->callback, nullptr);
        } else if (element->kind != kElementStaticImage) {
            EXPECT_EQ(element->offset.x, element->kind == kElementNeedle ? 56 : 0);
            EXPECT_EQ(element->offset.y, element->kind == kElementNeedle ? 56 : 0);
        }
    }
}

TEST_F(A723Gauge, KnobNeedleHasElevenPointsAroundItsLegends) {
    const auto* needle = reinterpret_cast<const ELEMENT_NEEDLE*>(Element("A723", kKnob));
    ASSERT_NE(needle, nullptr);
    ASSERT_EQ(needle->header.kind, kElementNeedle);
    EXPECT_EQ(needle->maxTurnDegrees, 50);
    EXPECT_NE(needle->callback, nullptr);
    const PIXPOINT points[] = {{105, 510}, {99, 493},  {100, 473}, {106, 454}, {120, 438}, {138, 426},
                               {159, 424}, {179, 427}, {209, 453}, {216, 472}, {208, 513}};
    ASSERT_EQ(needle->pointCount, 11);
    for (int i = 0; i < 11; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(needle->points[i].x, points[i].x);
        EXPECT_EQ(needle->points[i].y, points[i].y);
        EXPECT_EQ(needle->points[i].value, static_cast<double>(i));
    }
}

TEST_F(A723Gauge, ReadoutsArePaleCourierNewInTheirBoxes) {
    const TextRow rows[] = {{{60, 30}, 120, 8},  {{60, 10}, 120, 8},  {{200, 10}, 75, 5},
                            {{300, 30}, 120, 8}, {{300, 10}, 120, 8}, {{200, 30}, 60, 4}};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const auto* text = reinterpret_cast<const ELEMENT_STRING*>(Element("A723", kAircraftLatitude + i));
        ASSERT_EQ(text->header.kind, kElementString);
        EXPECT_EQ(text->boxWidth, rows[i].width);
        EXPECT_EQ(text->boxHeight, 15);
        EXPECT_EQ(text->charCount, rows[i].characters);
        EXPECT_EQ(text->textColour, kReadoutColour);
        EXPECT_EQ(text->highlightColour, kReadoutColour);
        EXPECT_EQ(text->backgroundColour, 0u);
        EXPECT_STREQ(text->fontName, "Courier New");
        EXPECT_EQ(text->fontWeight, 400);
        EXPECT_EQ(text->charSet, 1);
        EXPECT_EQ(text->fontFlags, 32);
        EXPECT_NE(text->callback, nullptr);
    }
}

TEST_F(A723Gauge, MouseListHasTheKnobHalvesAndThirteenKeys) {
    const AreaRow rows[] = {
        {95, 420, 60, 120, 2}, {156, 420, 60, 120, 1}, {355, 270, 50, 50, 5}, {425, 270, 50, 50, 5},
        {485, 270, 50, 50, 5}, {355, 340, 50, 50, 5},  {425, 340, 50, 50, 5}, {485, 340, 50, 50, 5},
        {355, 410, 50, 50, 5}, {425, 410, 50, 50, 5},  {485, 410, 50, 50, 5}, {425, 480, 50, 50, 5},
        {285, 410, 50, 50, 5}, {485, 480, 50, 50, 5},  {355, 480, 50, 50, 5},
    };
    const MOUSERECT* list = Gauge("A723")->mouseRects;
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list[0].kind, kMouseParent);
    EXPECT_EQ(list[0].cursor, -1);
    for (int i = 0; i < 15; ++i) {
        SCOPED_TRACE(i + 1);
        const MOUSERECT& rect = list[i + 1];
        EXPECT_EQ(rect.kind, kMouseChild);
        EXPECT_EQ(rect.x, rows[i].x);
        EXPECT_EQ(rect.y, rows[i].y);
        EXPECT_EQ(rect.width, rows[i].width);
        EXPECT_EQ(rect.height, rows[i].height);
        EXPECT_EQ(rect.cursor, rows[i].cursor);
        EXPECT_EQ(rect.eventMask, 0x20000000u);
        EXPECT_EQ(rect.helpId, 0);
        EXPECT_NE(rect.handler, nullptr);
    }
    EXPECT_EQ(list[16].kind, kMouseCloseParent);
    EXPECT_EQ(list[17].kind, kMouseEnd);
}

TEST_F(A723Gauge, BreakerIsAPlateWithATwoPictureLever) {
    const auto elements = gauge_access::Elements(Gauge("AZS_A723"));
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_EQ(elements[0]->kind, kElementStaticImage);
    EXPECT_EQ(elements[0]->bitmapId, 320);
    EXPECT_EQ(gauge_records::ModuleImageFlags(elements[0]), 0x1u);
    EXPECT_EQ(elements[1]->kind, kElementIcon);
    EXPECT_EQ(elements[1]->bitmapId, 257);
    EXPECT_EQ(elements[1]->position.x, 0);
    EXPECT_EQ(elements[1]->position.y, 0);
    EXPECT_EQ(gauge_records::ModuleImageFlags(elements[1]), 0x3u);
    EXPECT_EQ(reinterpret_cast<const ELEMENT_ICON*>(elements[1])->pictureCount, 2);
    const MOUSERECT* list = Gauge("AZS_A723")->mouseRects;
    EXPECT_EQ(list[1].kind, kMouseChild);
    EXPECT_EQ(list[1].width, 30);
    EXPECT_EQ(list[1].height, 60);
    EXPECT_EQ(list[1].cursor, 5);
    EXPECT_EQ(list[1].eventMask, 0x20000000u);
    EXPECT_EQ(list[2].kind, kMouseCloseParent);
    EXPECT_EQ(list[3].kind, kMouseEnd);
}

// ---------------------------------------------------------------------------------------------------------------
// Behaviour

TEST_F(A723Gauge, OffEverythingIsDarkAndTheKnobAtZero) {
    Frames(3);
    for (int number = kFailure; number <= kFirstDot + 5; ++number) EXPECT_EQ(Value("A723", number), kDark) << number;
    SwitchOnAndWaitForTheLampTest();
    Keys("+12");
    Frames(1);
    Keys("--");
    Frames(1);
    EXPECT_EQ(Value("A723", kKnob), 0.0);
    for (int number = kFailure; number <= kFirstDot + 5; ++number) EXPECT_EQ(Value("A723", number), kDark) << number;
}

TEST_F(A723Gauge, LampTestShowsRandomDigitsThenEverythingThenZeros) {
    Keys("+");
    Frames(1);
    EXPECT_EQ(Slot(), "--");
    EXPECT_EQ(Upper().find('-'), std::string::npos) << Upper();
    EXPECT_EQ(Lower().find('-'), std::string::npos) << Lower();
    EXPECT_EQ(Lamps(), ".......|.......");
    Seconds(4.5);
    EXPECT_EQ(Slot(), "88");
    EXPECT_EQ(Upper(), "88888");
    EXPECT_EQ(Lower(), "888888");
    EXPECT_EQ(Dots(), "******");
    EXPECT_EQ(Lamps(), "*******|*.*...*");
    Seconds(2.0);
    EXPECT_EQ(Lamps(), "*******|.*.*..*");
    Seconds(2.0);
    EXPECT_EQ(Lamps(), "*******|....***");
    Seconds(2.0);
    EXPECT_EQ(Slot(), "01");
    EXPECT_EQ(Upper(), "00000");
    EXPECT_EQ(Lower(), "000000");
    EXPECT_EQ(Dots(), "......");
    EXPECT_EQ(Lamps(), "....***|.......");
}

TEST_F(A723Gauge, AWaypointIsEnteredAndShownInPositionPpm) {
    SwitchOnAndWaitForTheLampTest();
    Keys("++");
    EXPECT_EQ(Slot(), "01");
    Keys("3");
    EXPECT_EQ(Slot(), "-3");
    Keys("32");
    EXPECT_EQ(Value("A723", kNorth), kLit);
    Keys("55450E6037360E");
    Frames(1);
    EXPECT_EQ(Upper(), "55450");
    EXPECT_EQ(Lower(), "037360");
    EXPECT_EQ(Dots(), "**..**");
    EXPECT_EQ(Value("A723", kEast), kLit);
    EXPECT_EQ(Value("A723", kEnterLight), kDark);
}

TEST_F(A723Gauge, AlignsOnThePresentPositionAndNavigates) {
    PlaceAircraft(kHomeLat, kHomeLon);
    SwitchOnAndWaitForTheLampTest();
    Keys("12000E990615E");
    Keys("+");  // МС
    Keys("S255450E6037360ES");
    Frames(1);
    EXPECT_EQ(Lamps().substr(0, 7), "..**.**") << "aligning: СЧИСЛ and СИНХР lit, ЗОНА out";
    Seconds(5.5);
    EXPECT_EQ(Lamps().substr(0, 7), ".....**");
    EXPECT_EQ(Upper(), "55450");
    EXPECT_EQ(Lower(), "037360");
    EXPECT_EQ(Text("A723", kReceiverLatitude), "55.7500");
    EXPECT_EQ(Text("A723", kReceiverLongitude), "37.6000");
    EXPECT_EQ(Text("A723", kStations), "5.0");
    EXPECT_EQ(Value("A723", kStations), 5.0);

    // Flying north a quarter of a degree in three seconds, the present position follows.
    constexpr int kFlightFrames = 18;
    for (int i = 1; i <= kFlightFrames; ++i) {
        PlaceAircraft(kHomeLat + 0.25 * i / kFlightFrames, kHomeLon);
        Frames(1);
    }
    EXPECT_EQ(Upper(), "56000");
    EXPECT_EQ(Text("A723", kReceiverLatitude), "56.0000");
    Keys("+++++");  // W/Tп
    Frames(1);
    EXPECT_EQ(Upper().substr(0, 2), "--");
    EXPECT_NE(Upper(), "--000") << "moving";
}

TEST_F(A723Gauge, BreakerSwitchesInAnyStateAndChangesNothing) {
    EXPECT_EQ(Value("AZS_A723", 2), 0.0);
    ClickArea("AZS_A723", 1);
    EXPECT_EQ(Value("AZS_A723", 2), 1.0);
    SwitchOnAndWaitForTheLampTest();
    EXPECT_EQ(Slot(), "01");
    ClickArea("AZS_A723", 1);
    EXPECT_EQ(Value("AZS_A723", 2), 0.0);
    Frames(2);
    EXPECT_EQ(Slot(), "01");
    EXPECT_EQ(Upper(), "00000");
}

TEST_F(A723Gauge, ReadoutsShowBothPositionsAndAFixedZero) {
    PlaceAircraft(-33.5, 151.25);
    Frames(1);
    EXPECT_EQ(Text("A723", kAircraftLatitude), "-33.5000");
    EXPECT_EQ(Text("A723", kAircraftLongitude), "151.2500");
    EXPECT_EQ(Text("A723", kZeroReadout), "0.0");
    EXPECT_EQ(Value("A723", kZeroReadout), 0.0);
    EXPECT_EQ(Text("A723", kReceiverLatitude), "0.0000");
    EXPECT_EQ(Text("A723", kStations), "4.0");
    EXPECT_NEAR(Value("A723", kAircraftLatitude), -33.5, 1e-9);
}

TEST_F(A723Gauge, ReadoutsStayInTheirBuffersWhateverTheValue) {
    simulator.SetVariable(kLatitudeToken, -1e300);
    simulator.SetVariable(kLongitudeToken, std::nan(""));
    Frames(1);
    EXPECT_EQ(Text("A723", kAircraftLatitude).size(), 8u);
    EXPECT_LE(Text("A723", kAircraftLongitude).size(), 8u);
    // The fixture checks the guard bytes after every buffer.
}

}  // namespace
