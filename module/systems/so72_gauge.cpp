// The SO72 transponder control panel: mode selector, reply lamp with its test button, the code display with a
// button under each digit, and a two-position switch. The code is the simulator's; the buttons ask it to change.
#include <cstdint>

#include "frame/gauge_builder.h"
#include "frame/gauge_table.h"
#include "frame/module_objects.h"
#include "frame/panels.h"
#include "systems/aircraft_systems.h"

namespace {

constexpr std::int32_t kHighestMode = 6;
constexpr std::uint32_t kFirstDigitEvent = 65651;  // to 65654, one per code digit, most significant first

// Pictures 519 to 528 show the digits 0 to 9.
constexpr std::uint32_t kDigitPictures = 10;

std::int32_t so72Switch;    // shown only; it powers nothing
std::int32_t so72TestHeld;  // the lamp-test button is held

AircraftSystems& Systems() { return *aircraftState.systems; }

// Modes 5 and 6 show the code and let the buttons change it.
bool CodeAvailable() {
    const AircraftSystems& systems = Systems();
    return systems.transponderPowered != 0 && (systems.transponderMode == 5 || systems.transponderMode == 6);
}

// Digit 1 is the most significant of the four 4-bit groups in the low 16 bits.
double CodeDigit(int digit) {
    if (!CodeAvailable()) return -1.0;
    const std::uint32_t value = (aircraftState.transponderCodeBcd >> (16 - 4 * digit)) & 15u;
    // The simulator hands the code over as it stands; a group that is no decimal digit has no picture.
    return value < kDigitPictures ? static_cast<double>(value) : -1.0;
}

void PressDigitButton(int digit) {
    if (CodeAvailable()) panels::SendEvent(kFirstDigitEvent + static_cast<std::uint32_t>(digit - 1), 0);
}

double FSAPI So72SwitchPicture(ELEMENT_HEADER*) { return so72Switch; }
double FSAPI So72ModeNeedle(ELEMENT_HEADER*) { return Systems().transponderMode; }

double FSAPI So72ReplyLamp(ELEMENT_HEADER*) {
    const AircraftSystems& systems = Systems();
    const bool testLit = so72TestHeld != 0 && systems.transponderPowered != 0 && systems.transponderMode >= 1;
    return systems.transponderReplyLamp != 0 || testLit ? 0.0 : -1.0;
}

double FSAPI So72CodeDigit1(ELEMENT_HEADER*) { return CodeDigit(1); }
double FSAPI So72CodeDigit2(ELEMENT_HEADER*) { return CodeDigit(2); }
double FSAPI So72CodeDigit3(ELEMENT_HEADER*) { return CodeDigit(3); }
double FSAPI So72CodeDigit4(ELEMENT_HEADER*) { return CodeDigit(4); }

std::int32_t FSAPI So72SwitchHandler(PIXPOINT*, std::uint32_t) {
    so72Switch = so72Switch == 0 ? 1 : 0;
    soundBank.PlayButtonClick();
    return 1;
}

std::int32_t FSAPI So72ModeUp(PIXPOINT*, std::uint32_t) {
    AircraftSystems& systems = Systems();
    if (systems.transponderMode < kHighestMode) {
        soundBank.PlaySelectorClick();
        ++systems.transponderMode;
    }
    return 1;
}

std::int32_t FSAPI So72ModeDown(PIXPOINT*, std::uint32_t) {
    AircraftSystems& systems = Systems();
    if (systems.transponderMode >= 1) {
        soundBank.PlaySelectorClick();
        --systems.transponderMode;
    }
    return 1;
}

std::int32_t FSAPI So72LampTest(PIXPOINT*, std::uint32_t flags) {
    so72TestHeld = 1;
    if (flags == mouse_flag::kLeftRelease || flags == mouse_flag::kLeave) so72TestHeld = 0;
    return 1;
}

std::int32_t FSAPI So72DigitButton1(PIXPOINT*, std::uint32_t) {
    PressDigitButton(1);
    return 1;
}
std::int32_t FSAPI So72DigitButton2(PIXPOINT*, std::uint32_t) {
    PressDigitButton(2);
    return 1;
}
std::int32_t FSAPI So72DigitButton3(PIXPOINT*, std::uint32_t) {
    PressDigitButton(3);
    return 1;
}
std::int32_t FSAPI So72DigitButton4(PIXPOINT*, std::uint32_t) {
    PressDigitButton(4);
    return 1;
}

}  // namespace

namespace gauges {
namespace SO72_records {

using gauge_builder::Icon;
using gauge_builder::kImageTransparentErase;
using gauge_builder::kImageTransparentEraseBright;
using gauge_builder::MouseChild;
using gauge_builder::NeedlePoint;

constexpr std::uint32_t kLetteringFlags = image_flag::kTransparent | image_flag::kLuminous;
constexpr std::uint32_t kTestEvents = 0x20220800;  // press, held, release, leave
constexpr std::int32_t kDigitPicture = 519;        // to 528

// The chain is built from its far end, so that each element can name the list holding the next one.
constinit ELEMENT_ICON digit4 =
    Icon(kDigitPicture, {192, 124}, kDigitPictures, kImageTransparentEraseBright, So72CodeDigit4, &SO72);
constinit ELEMENT_HEADER* afterDigit3[] = {&digit4.header, nullptr};
constinit ELEMENT_ICON digit3 =
    Icon(kDigitPicture, {162, 124}, kDigitPictures, kImageTransparentEraseBright, So72CodeDigit3, &SO72, afterDigit3);
constinit ELEMENT_HEADER* afterDigit2[] = {&digit3.header, nullptr};
constinit ELEMENT_ICON digit2 =
    Icon(kDigitPicture, {132, 124}, kDigitPictures, kImageTransparentEraseBright, So72CodeDigit2, &SO72, afterDigit2);
constinit ELEMENT_HEADER* afterDigit1[] = {&digit2.header, nullptr};
constinit ELEMENT_ICON digit1 =
    Icon(kDigitPicture, {102, 124}, kDigitPictures, kImageTransparentEraseBright, So72CodeDigit1, &SO72, afterDigit1);
constinit ELEMENT_HEADER* afterLamp[] = {&digit1.header, nullptr};
constinit ELEMENT_ICON replyLamp = Icon(514, {53, 41}, 2, kImageTransparentEraseBright, So72ReplyLamp, &SO72, afterLamp);
constinit ELEMENT_HEADER* afterSelector[] = {&replyLamp.header, nullptr};

// Modes OTKL, GOTOV, RSP, UVD, UVD-M, AS, D.
constinit NEEDLE_POINT modePoints[] = {
    NeedlePoint(128, 74, 0.0), NeedlePoint(132, 56, 1.0), NeedlePoint(146, 42, 2.0), NeedlePoint(164, 38, 3.0),
    NeedlePoint(182, 42, 4.0), NeedlePoint(196, 56, 5.0), NeedlePoint(200, 74, 6.0),
};
constinit ELEMENT_NEEDLE modeSelector = gauge_builder::Needle(513, {164, 74}, {32, 19}, modePoints, 7, 50,
                                                              kImageTransparentErase, So72ModeNeedle, &SO72, afterSelector);
constinit ELEMENT_HEADER* afterSwitch[] = {&modeSelector.header, nullptr};
constinit ELEMENT_ICON powerSwitch = Icon(517, {233, 70}, 2, kImageTransparentErase, So72SwitchPicture, &SO72, afterSwitch);
constinit ELEMENT_HEADER* afterLettering[] = {&powerSwitch.header, nullptr};
constinit ELEMENT_ICON lettering = Icon(516, {0, 0}, 1, kLetteringFlags, nullptr, &SO72, afterLettering);
constinit ELEMENT_HEADER* afterBackground[] = {&lettering.header, nullptr};
constinit ELEMENT_STATIC_IMAGE background = gauge_builder::BackgroundImage(512, &SO72, afterBackground);
constinit ELEMENT_HEADER* elements[] = {&background.header, nullptr};

constinit MOUSERECT mouse[] = {
    gauge_builder::MouseOpenParent(),
    MouseChild(233, 70, 38, 14, mouse_cursor::kHand, mouse_flag::kLeftSingle, So72SwitchHandler),
    MouseChild(165, 35, 49, 76, mouse_cursor::kUpArrow, mouse_flag::kLeftSingle, So72ModeUp),
    MouseChild(114, 35, 49, 76, mouse_cursor::kDownArrow, mouse_flag::kLeftSingle, So72ModeDown),
    MouseChild(37, 88, 40, 40, mouse_cursor::kHand, kTestEvents, So72LampTest),
    MouseChild(75, 175, 36, 36, mouse_cursor::kHand, mouse_flag::kLeftSingle, So72DigitButton1),
    MouseChild(115, 175, 36, 36, mouse_cursor::kHand, mouse_flag::kLeftSingle, So72DigitButton2),
    MouseChild(155, 175, 36, 36, mouse_cursor::kHand, mouse_flag::kLeftSingle, So72DigitButton3),
    MouseChild(195, 175, 36, 36, mouse_cursor::kHand, mouse_flag::kLeftSingle, So72DigitButton4),
    gauge_builder::MouseCloseParent(),
    gauge_builder::MouseListEnd(),
};

}  // namespace SO72_records

constinit GAUGEHDR SO72 = gauge_builder::VisibleGaugeHeader("SO72", SO72_records::elements, SO72_records::mouse);
}  // namespace gauges
