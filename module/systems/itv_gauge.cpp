// The ITV clock: four digits that the systems update counts, shown while the bus and the AZS_ITV breaker are
// on, and four set buttons (one per digit) under a hinged cover worked with the right mouse button.
#include <cstdint>

#include "frame/gauge_builder.h"
#include "frame/gauge_table.h"
#include "frame/module_objects.h"
#include "systems/aircraft_systems.h"

namespace {

// Indices into clockDigits.
constexpr int kMinutesUnits = 0;
constexpr int kMinutesTens = 1;
constexpr int kHoursUnits = 2;
constexpr int kHoursTens = 3;
constexpr int kDigitCount = 4;

// Pictures 324 to 333 show the digits 0 to 9.
constexpr std::int32_t kDigitPictures = 10;

std::int32_t itvCover = 1;                // the cover is closed over the buttons
std::uint8_t itvButtonDown[kDigitCount];  // drawn pressed, left to right
std::uint8_t itvButtonLatch;              // a press was counted and its release is due; one for all four buttons

AircraftSystems& Systems() { return *aircraftState.systems; }

double ButtonPicture(int button) { return itvButtonDown[button]; }

double DigitPicture(int index) {
    const AircraftSystems& systems = Systems();
    if (systems.busPowered == 0 || systems.itvBreaker == 0) return -1.0;
    const std::int32_t digit = systems.clockDigits[index];
    // A press can leave a digit past 9 until the next update carries it; there is no picture for that.
    if (digit < 0 || digit >= kDigitPictures) return -1.0;
    return digit;
}

void PressButton(int button, int digitIndex, std::uint32_t flags) {
    if (itvCover != 0) return;
    itvButtonDown[button] = 1;
    if (itvButtonLatch == 0 && flags != mouse_flag::kLeftRelease) {
        soundBank.PlayButtonClick();
        ++Systems().clockDigits[digitIndex];  // the next update carries it
        itvButtonLatch = 1;
    }
    if (flags == mouse_flag::kLeftRelease || flags == mouse_flag::kLeave) {
        itvButtonDown[button] = 0;
        soundBank.PlayButtonClick();
        itvButtonLatch = 0;
    }
}

double FSAPI ItvButton1Picture(ELEMENT_HEADER*) { return ButtonPicture(0); }
double FSAPI ItvButton2Picture(ELEMENT_HEADER*) { return ButtonPicture(1); }
double FSAPI ItvButton3Picture(ELEMENT_HEADER*) { return ButtonPicture(2); }
double FSAPI ItvButton4Picture(ELEMENT_HEADER*) { return ButtonPicture(3); }
double FSAPI ItvCoverPicture(ELEMENT_HEADER*) { return itvCover - 1; }
double FSAPI ItvNeedle(ELEMENT_HEADER*) { return 0.0; }
double FSAPI ItvHoursTens(ELEMENT_HEADER*) { return DigitPicture(kHoursTens); }
double FSAPI ItvHoursUnits(ELEMENT_HEADER*) { return DigitPicture(kHoursUnits); }
double FSAPI ItvMinutesTens(ELEMENT_HEADER*) { return DigitPicture(kMinutesTens); }
double FSAPI ItvMinutesUnits(ELEMENT_HEADER*) { return DigitPicture(kMinutesUnits); }

std::int32_t FSAPI ItvCoverHandler(PIXPOINT*, std::uint32_t) {
    itvCover = itvCover > 0 ? 0 : 1;
    soundBank.PlayCoverClick();
    return 1;
}

std::int32_t FSAPI ItvHoursTensButton(PIXPOINT*, std::uint32_t flags) {
    PressButton(0, kHoursTens, flags);
    return 1;
}
std::int32_t FSAPI ItvHoursUnitsButton(PIXPOINT*, std::uint32_t flags) {
    PressButton(1, kHoursUnits, flags);
    return 1;
}
std::int32_t FSAPI ItvMinutesTensButton(PIXPOINT*, std::uint32_t flags) {
    PressButton(2, kMinutesTens, flags);
    return 1;
}
std::int32_t FSAPI ItvMinutesUnitsButton(PIXPOINT*, std::uint32_t flags) {
    PressButton(3, kMinutesUnits, flags);
    return 1;
}

}  // namespace

namespace gauges {
namespace ITV_records {

using gauge_builder::Icon;
using gauge_builder::kImageTransparentErase;
using gauge_builder::kImageTransparentEraseBright;
using gauge_builder::MouseChild;

constexpr std::uint32_t kButtonEvents = 0x20220800;  // press, held, release, leave
constexpr std::int32_t kButtonPicture = 334;         // 335 pressed
constexpr std::int32_t kDigitPicture = 324;          // to 333

// The chain is built from its far end, so that each element can name the list holding the next one.
constinit ELEMENT_ICON minutesUnits =
    Icon(kDigitPicture, {169, 74}, kDigitPictures, kImageTransparentEraseBright, ItvMinutesUnits, &ITV);
constinit ELEMENT_HEADER* afterMinutesTens[] = {&minutesUnits.header, nullptr};
constinit ELEMENT_ICON minutesTens =
    Icon(kDigitPicture, {133, 74}, kDigitPictures, kImageTransparentEraseBright, ItvMinutesTens, &ITV, afterMinutesTens);
constinit ELEMENT_HEADER* afterHoursUnits[] = {&minutesTens.header, nullptr};
constinit ELEMENT_ICON hoursUnits =
    Icon(kDigitPicture, {97, 74}, kDigitPictures, kImageTransparentEraseBright, ItvHoursUnits, &ITV, afterHoursUnits);
constinit ELEMENT_HEADER* afterHoursTens[] = {&hoursUnits.header, nullptr};
constinit ELEMENT_ICON hoursTens =
    Icon(kDigitPicture, {60, 74}, kDigitPictures, kImageTransparentEraseBright, ItvHoursTens, &ITV, afterHoursTens);
constinit ELEMENT_HEADER* afterNeedle[] = {&hoursTens.header, nullptr};

// Fixed at 0.0, the needle rests on the first point.
constinit NEEDLE_POINT needlePoints[] = {
    gauge_builder::NeedlePoint(24, 196, 0.0),
    gauge_builder::NeedlePoint(24, 238, 5.0),
    gauge_builder::NeedlePoint(24, 196, 10.0),
};
constinit ELEMENT_NEEDLE needle = gauge_builder::Needle(323, {24, 217}, {21, 21}, needlePoints, 3, 18, kImageTransparentErase,
                                                        ItvNeedle, &ITV, afterNeedle);
constinit ELEMENT_HEADER* afterCover[] = {&needle.header, nullptr};
constinit ELEMENT_ICON cover = Icon(322, {0, 0}, 1, kImageTransparentErase, ItvCoverPicture, &ITV, afterCover);
constinit ELEMENT_HEADER* afterButton4[] = {&cover.header, nullptr};
constinit ELEMENT_ICON button4 =
    Icon(kButtonPicture, {174, 176}, 2, kImageTransparentErase, ItvButton4Picture, &ITV, afterButton4);
constinit ELEMENT_HEADER* afterButton3[] = {&button4.header, nullptr};
constinit ELEMENT_ICON button3 =
    Icon(kButtonPicture, {129, 176}, 2, kImageTransparentErase, ItvButton3Picture, &ITV, afterButton3);
constinit ELEMENT_HEADER* afterButton2[] = {&button3.header, nullptr};
constinit ELEMENT_ICON button2 =
    Icon(kButtonPicture, {86, 176}, 2, kImageTransparentErase, ItvButton2Picture, &ITV, afterButton2);
constinit ELEMENT_HEADER* afterButton1[] = {&button2.header, nullptr};
constinit ELEMENT_ICON button1 =
    Icon(kButtonPicture, {43, 176}, 2, kImageTransparentErase, ItvButton1Picture, &ITV, afterButton1);
constinit ELEMENT_HEADER* afterBackground[] = {&button1.header, nullptr};
constinit ELEMENT_STATIC_IMAGE background = gauge_builder::BackgroundImage(321, &ITV, afterBackground);
constinit ELEMENT_HEADER* elements[] = {&background.header, nullptr};

constinit MOUSERECT mouse[] = {
    gauge_builder::MouseOpenParent(),
    MouseChild(35, 135, 175, 35, mouse_cursor::kHand, mouse_flag::kRightSingle, ItvCoverHandler),
    MouseChild(43, 176, 36, 36, mouse_cursor::kHand, kButtonEvents, ItvHoursTensButton),
    MouseChild(86, 176, 36, 36, mouse_cursor::kHand, kButtonEvents, ItvHoursUnitsButton),
    MouseChild(129, 176, 36, 36, mouse_cursor::kHand, kButtonEvents, ItvMinutesTensButton),
    MouseChild(174, 176, 36, 36, mouse_cursor::kHand, kButtonEvents, ItvMinutesUnitsButton),
    gauge_builder::MouseCloseParent(),
    gauge_builder::MouseListEnd(),
};

}  // namespace ITV_records

constinit GAUGEHDR ITV = gauge_builder::VisibleGaugeHeader("ITV", ITV_records::elements, ITV_records::mouse);
}  // namespace gauges
