// The KAI_487 combined speed indicator, with two setting knobs that each move an index marker on the dial, and
// its AZS_KAI_487 breaker. The knobs and markers are the gauge's own counters; the computer does not use them.
#include <cstdint>

#include "airdata/air_data_computer.h"
#include "frame/gauge_builder.h"
#include "frame/gauge_table.h"
#include "frame/module_objects.h"

namespace {

// Knob turns move together with their marker, which stays within 0 to 100.
std::int32_t leftKnobTurns = 0;
std::int32_t leftMarker = 20;
std::int32_t rightKnobTurns = 0;
std::int32_t rightMarker = 50;

constexpr std::int32_t kMarkerHighest = 100;

// Pictures 342 to 351 show the digits 0 to 9.
constexpr std::int32_t kDrumPictures = 10;

AirDataComputer& Computer() { return *aircraftState.airData; }

// A drum value beyond the pictures (a speed of 1000 km/h or more, Mach 1 or more) shows a blank drum rather
// than a picture the icon does not have.
double DrumPicture(std::int32_t digit) { return digit >= 0 && digit < kDrumPictures ? digit : -1.0; }

double FSAPI LeftKnobNeedle(ELEMENT_HEADER*) { return leftKnobTurns; }
double FSAPI RightKnobNeedle(ELEMENT_HEADER*) { return rightKnobTurns; }
double FSAPI LeftMarkerNeedle(ELEMENT_HEADER*) { return leftMarker; }
double FSAPI RightMarkerNeedle(ELEMENT_HEADER*) { return rightMarker; }
double FSAPI OffFlagPicture(ELEMENT_HEADER*) { return Computer().offFlag ? 0.0 : -1.0; }
double FSAPI MachMarkerPicture(ELEMENT_HEADER*) { return Computer().machMode ? 0.0 : -1.0; }
double FSAPI HighDrum(ELEMENT_HEADER*) { return DrumPicture(Computer().highDigit); }
double FSAPI LowDrum(ELEMENT_HEADER*) { return DrumPicture(Computer().lowDigit); }
double FSAPI LimitSpeedNeedle(ELEMENT_HEADER*) { return Computer().limitSpeed; }
double FSAPI SpeedNeedle(ELEMENT_HEADER*) { return Computer().speedShown; }

void TurnUp(std::int32_t& turns, std::int32_t& marker) {
    if (marker < kMarkerHighest) {
        ++turns;
        ++marker;
    }
}

void TurnDown(std::int32_t& turns, std::int32_t& marker) {
    if (marker >= 1) {
        --turns;
        --marker;
    }
}

// The knobs make no sound.
std::int32_t FSAPI LeftKnobUp(PIXPOINT*, std::uint32_t) {
    TurnUp(leftKnobTurns, leftMarker);
    return 1;
}
std::int32_t FSAPI LeftKnobDown(PIXPOINT*, std::uint32_t) {
    TurnDown(leftKnobTurns, leftMarker);
    return 1;
}
std::int32_t FSAPI RightKnobUp(PIXPOINT*, std::uint32_t) {
    TurnUp(rightKnobTurns, rightMarker);
    return 1;
}
std::int32_t FSAPI RightKnobDown(PIXPOINT*, std::uint32_t) {
    TurnDown(rightKnobTurns, rightMarker);
    return 1;
}

double FSAPI BreakerPicture(ELEMENT_HEADER*) { return Computer().enabled ? 1.0 : 0.0; }

// The area's mask admits left clicks only.
std::int32_t FSAPI BreakerFlip(PIXPOINT*, std::uint32_t) {
    AirDataComputer& computer = Computer();
    computer.enabled = !computer.enabled;
    soundBank.PlaySwitchClick();
    return 1;
}

// A parent area with a box of its own: its children's boxes are relative to its corner.
constexpr MOUSERECT MouseParentBox(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    MOUSERECT area = gauge_builder::MouseOpenParent();
    area.x = x;
    area.y = y;
    area.width = width;
    area.height = height;
    return area;
}

}  // namespace

namespace gauges {
namespace KAI_487_records {

using gauge_builder::Icon;
using gauge_builder::kImageTransparentErase;
using gauge_builder::kImageTransparentEraseBright;
using gauge_builder::MouseChild;
using gauge_builder::Needle;
using gauge_builder::NeedlePoint;

constexpr std::int32_t kKnobMaxTurn = 18;
constexpr std::int32_t kSpeedMaxTurn = 18;
constexpr std::int32_t kLimitMaxTurn = 10;
constexpr PIXPOINT kDialCentre = {153, 151};
constexpr PIXPOINT kMarkerPivotInBitmap = {10, 11};
constexpr PIXPOINT kSpeedPivotInBitmap = {21, 18};
constexpr PIXPOINT kKnobPivotInBitmap = {23, 23};

// One full turn of a knob per 30 steps: up at 0, down at 15, up again at 30.
constinit NEEDLE_POINT leftKnobPoints[] = {
    NeedlePoint(58, 245, 0.0),
    NeedlePoint(58, 590, 15.0),
    NeedlePoint(58, 245, 30.0),
};
constinit NEEDLE_POINT rightKnobPoints[] = {
    NeedlePoint(247, 245, 0.0),
    NeedlePoint(247, 590, 15.0),
    NeedlePoint(247, 245, 30.0),
};
// Each table serves two needles on the same pivot (the dial centre), so they agree on every point.
constinit NEEDLE_POINT markerPoints[] = {
    NeedlePoint(202, 48, 0.0),
    NeedlePoint(152, 269, 50.0),
    NeedlePoint(104, 46, 100.0),
};
constinit NEEDLE_POINT speedPoints[] = {
    NeedlePoint(154, 35, 0.0),    NeedlePoint(202, 48, 50.0),   NeedlePoint(218, 56, 60.0),
    NeedlePoint(232, 67, 70.0),   NeedlePoint(247, 84, 80.0),   NeedlePoint(258, 103, 90.0),
    NeedlePoint(267, 131, 100.0), NeedlePoint(263, 190, 120.0), NeedlePoint(232, 238, 140.0),
    NeedlePoint(152, 269, 180.0), NeedlePoint(130, 267, 190.0), NeedlePoint(109, 261, 200.0),
    NeedlePoint(53, 214, 250.0),  NeedlePoint(44, 109, 350.0),  NeedlePoint(76, 63, 400.0),
    NeedlePoint(104, 46, 430.0),
};
constexpr std::int32_t kKnobPointCount = sizeof leftKnobPoints / sizeof leftKnobPoints[0];
constexpr std::int32_t kMarkerPointCount = sizeof markerPoints / sizeof markerPoints[0];
constexpr std::int32_t kSpeedPointCount = sizeof speedPoints / sizeof speedPoints[0];

// The chain is built from its far end, so that each element can name the list holding the next one.
constinit ELEMENT_NEEDLE speedNeedle = Needle(318, kDialCentre, kSpeedPivotInBitmap, speedPoints, kSpeedPointCount,
                                              kSpeedMaxTurn, kImageTransparentErase, SpeedNeedle, &KAI_487);
constinit ELEMENT_HEADER* afterLimit[] = {&speedNeedle.header, nullptr};
constinit ELEMENT_NEEDLE limitNeedle = Needle(319, kDialCentre, kSpeedPivotInBitmap, speedPoints, kSpeedPointCount,
                                              kLimitMaxTurn, kImageTransparentErase, LimitSpeedNeedle, &KAI_487, afterLimit);
constinit ELEMENT_HEADER* afterLowDrum[] = {&limitNeedle.header, nullptr};
constinit ELEMENT_ICON lowDrum =
    Icon(342, {137, 172}, kDrumPictures, kImageTransparentEraseBright, LowDrum, &KAI_487, afterLowDrum);
constinit ELEMENT_HEADER* afterHighDrum[] = {&lowDrum.header, nullptr};
constinit ELEMENT_ICON highDrum =
    Icon(342, {111, 172}, kDrumPictures, kImageTransparentEraseBright, HighDrum, &KAI_487, afterHighDrum);
constinit ELEMENT_HEADER* afterMachMarker[] = {&highDrum.header, nullptr};
constinit ELEMENT_ICON machMarker =
    Icon(352, {85, 172}, 1, kImageTransparentEraseBright, MachMarkerPicture, &KAI_487, afterMachMarker);
constinit ELEMENT_HEADER* afterOffFlag[] = {&machMarker.header, nullptr};
constinit ELEMENT_ICON offFlag = Icon(313, {135, 91}, 1, kImageTransparentErase, OffFlagPicture, &KAI_487, afterOffFlag);
constinit ELEMENT_HEADER* afterLeftMarker[] = {&offFlag.header, nullptr};
constinit ELEMENT_NEEDLE leftMarkerNeedle =
    Needle(314, kDialCentre, kMarkerPivotInBitmap, markerPoints, kMarkerPointCount, kKnobMaxTurn, kImageTransparentErase,
           LeftMarkerNeedle, &KAI_487, afterLeftMarker);
constinit ELEMENT_HEADER* afterRightMarker[] = {&leftMarkerNeedle.header, nullptr};
constinit ELEMENT_NEEDLE rightMarkerNeedle =
    Needle(315, kDialCentre, kMarkerPivotInBitmap, markerPoints, kMarkerPointCount, kKnobMaxTurn, kImageTransparentErase,
           RightMarkerNeedle, &KAI_487, afterRightMarker);
constinit ELEMENT_HEADER* afterRightKnob[] = {&rightMarkerNeedle.header, nullptr};
constinit ELEMENT_NEEDLE rightKnob = Needle(317, {247, 268}, kKnobPivotInBitmap, rightKnobPoints, kKnobPointCount,
                                            kKnobMaxTurn, kImageTransparentErase, RightKnobNeedle, &KAI_487, afterRightKnob);
constinit ELEMENT_HEADER* afterLeftKnob[] = {&rightKnob.header, nullptr};
constinit ELEMENT_NEEDLE leftKnob = Needle(316, {58, 268}, kKnobPivotInBitmap, leftKnobPoints, kKnobPointCount,
                                           kKnobMaxTurn, kImageTransparentErase, LeftKnobNeedle, &KAI_487, afterLeftKnob);
constinit ELEMENT_HEADER* afterBackground[] = {&leftKnob.header, nullptr};
constinit ELEMENT_STATIC_IMAGE background = gauge_builder::BackgroundImage(312, &KAI_487, afterBackground);
constinit ELEMENT_HEADER* elements[] = {&background.header, nullptr};

// The right half of a knob turns it up, the left half down.
constinit MOUSERECT mouse[] = {
    gauge_builder::MouseOpenParent(),
    MouseParentBox(35, 245, 45, 45),
    MouseChild(23, 0, 22, 45, mouse_cursor::kUpArrow, mouse_flag::kLeftSingle, LeftKnobUp),
    MouseChild(0, 0, 22, 45, mouse_cursor::kDownArrow, mouse_flag::kLeftSingle, LeftKnobDown),
    gauge_builder::MouseCloseParent(),
    MouseParentBox(224, 245, 45, 45),
    MouseChild(23, 0, 22, 45, mouse_cursor::kUpArrow, mouse_flag::kLeftSingle, RightKnobUp),
    MouseChild(0, 0, 22, 45, mouse_cursor::kDownArrow, mouse_flag::kLeftSingle, RightKnobDown),
    gauge_builder::MouseCloseParent(),
    gauge_builder::MouseCloseParent(),
    gauge_builder::MouseListEnd(),
};

}  // namespace KAI_487_records

namespace AZS_KAI_487_records {

constinit ELEMENT_ICON lever =
    gauge_builder::Icon(257, {0, 0}, 2, gauge_builder::kImageTransparentErase, BreakerPicture, &AZS_KAI_487);
constinit ELEMENT_HEADER* leverList[] = {&lever.header, nullptr};
constinit ELEMENT_STATIC_IMAGE plate = gauge_builder::BackgroundImage(320, &AZS_KAI_487, leverList);
constinit ELEMENT_HEADER* elements[] = {&plate.header, nullptr};
constinit MOUSERECT mouse[] = {
    gauge_builder::MouseOpenParent(),
    gauge_builder::MouseChild(0, 0, 30, 60, mouse_cursor::kHand, mouse_flag::kLeftSingle, BreakerFlip),
    gauge_builder::MouseCloseParent(),
    gauge_builder::MouseListEnd(),
};

}  // namespace AZS_KAI_487_records

constinit GAUGEHDR KAI_487 =
    gauge_builder::VisibleGaugeHeader("KAI_487", KAI_487_records::elements, KAI_487_records::mouse);
constinit GAUGEHDR AZS_KAI_487 =
    gauge_builder::VisibleGaugeHeader("AZS_KAI_487", AZS_KAI_487_records::elements, AZS_KAI_487_records::mouse);

}  // namespace gauges
