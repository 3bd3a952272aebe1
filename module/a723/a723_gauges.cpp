// The A-723 control head (displays, lamps, points, mode knob, keypad and six
// diagnostic readouts) and its circuit breaker. The elements only read the
// receiver; the mouse areas call its knob and keypad operations.
#include <cstdint>

#include "a723/a723_receiver.h"
#include "a723/nav_calculator.h"
#include "frame/element_text.h"
#include "frame/gauge_builder.h"
#include "frame/gauge_table.h"
#include "frame/module_objects.h"
#include "state/aircraft_state.h"

namespace {

using LampField = bool A723Receiver::Lamps::*;

constexpr std::int32_t kDigitPictures = 10;  // bitmaps 342 to 351 show 0 to 9
constexpr double kDark = -1.0;
constexpr double kLit = 0.0;

A723Receiver& Receiver() { return *aircraftState.receiver; }

double FSAPI KnobPosition(ELEMENT_HEADER*) { return Receiver().modeKnob; }

template <LampField Lamp>
double FSAPI LampPicture(ELEMENT_HEADER*) {
    return Receiver().lamps.*Lamp ? kLit : kDark;
}

template <int Dot>
double FSAPI DotPicture(ELEMENT_HEADER*) {
    return Receiver().dots[Dot] ? kLit : kDark;
}

// A register entry that is no digit has no picture.
double DigitPicture(std::int32_t digit) { return digit >= 0 && digit < kDigitPictures ? digit : kDark; }

template <int Position>
double FSAPI SlotDigit(ELEMENT_HEADER*) {
    return DigitPicture(Receiver().slotDigits[Position]);
}
template <int Position>
double FSAPI UpperDigit(ELEMENT_HEADER*) {
    return DigitPicture(Receiver().upperDigits[Position]);
}
template <int Position>
double FSAPI LowerDigit(ELEMENT_HEADER*) {
    return DigitPicture(Receiver().lowerDigits[Position]);
}

// Diagnostic readouts: the simulator's position, the receiver's, and the
// stations it can hear.
double Readout(ELEMENT_HEADER* element, const char* format, double value) {
    SetElementText(element, format, value);
    return value;
}
double FSAPI AircraftLatitude(ELEMENT_HEADER* e) { return Readout(e, "%.4f", aircraftState.latitudeDeg); }
double FSAPI AircraftLongitude(ELEMENT_HEADER* e) { return Readout(e, "%.4f", aircraftState.longitudeDeg); }
double FSAPI ZeroReadout(ELEMENT_HEADER* e) { return Readout(e, "%.1f", 0.0); }
double FSAPI ReceiverLatitude(ELEMENT_HEADER* e) { return Readout(e, "%.4f", Receiver().slotLat[0]); }
double FSAPI ReceiverLongitude(ELEMENT_HEADER* e) { return Readout(e, "%.4f", Receiver().slotLon[0]); }
double FSAPI StationsReadout(ELEMENT_HEADER* e) {
    return Readout(e, "%.1f", navCalculator.StationsInRange(Receiver()));
}

// Every area admits left clicks only; the handlers need neither point nor flags.
std::int32_t FSAPI KnobLeft(PIXPOINT*, std::uint32_t) {
    Receiver().TurnModeKnob(-1);
    return 1;
}
std::int32_t FSAPI KnobRight(PIXPOINT*, std::uint32_t) {
    Receiver().TurnModeKnob(1);
    return 1;
}
template <std::int32_t Key>
std::int32_t FSAPI DigitKey(PIXPOINT*, std::uint32_t) {
    Receiver().PressDigit(Key);
    return 1;
}
std::int32_t FSAPI EnterKey(PIXPOINT*, std::uint32_t) {
    Receiver().PressEnter();
    return 1;
}
std::int32_t FSAPI ClearKey(PIXPOINT*, std::uint32_t) {
    Receiver().PressClear();
    return 1;
}
std::int32_t FSAPI StopKey(PIXPOINT*, std::uint32_t) {
    Receiver().ToggleStop();
    return 1;
}

double FSAPI BreakerPosition(ELEMENT_HEADER*) { return Receiver().breakerOn ? 1.0 : 0.0; }

std::int32_t FSAPI FlipBreaker(PIXPOINT*, std::uint32_t) {
    bool& breaker = Receiver().breakerOn;
    breaker = !breaker;
    soundBank.PlaySwitchClick();
    return 1;
}

}  // namespace

namespace gauges {
namespace A723_records {

using gauge_builder::kImageTransparentEraseBright;
using gauge_builder::MouseChild;
using gauge_builder::NeedlePoint;
using Lamps = A723Receiver::Lamps;

constexpr std::int32_t kDigitPicture = 342;
constexpr std::int32_t kDotPicture = 369;
constexpr std::uint32_t kReadoutColour = 0x00EAEAEA;  // 0x00BBGGRR
constexpr std::uint32_t kReadoutBackground = 0;
constexpr std::int32_t kReadoutHeight = 15;

constexpr ELEMENT_ICON LampIcon(std::int32_t bitmapId, PIXPOINT position, ElementCallback callback,
                                ELEMENT_HEADER** children) {
    return gauge_builder::Icon(bitmapId, position, 1, kImageTransparentEraseBright, callback, &A723, children);
}
constexpr ELEMENT_ICON DigitIcon(PIXPOINT position, ElementCallback callback, ELEMENT_HEADER** children) {
    return gauge_builder::Icon(kDigitPicture, position, kDigitPictures, kImageTransparentEraseBright, callback, &A723,
                               children);
}
constexpr ELEMENT_STRING ReadoutText(PIXPOINT position, std::int32_t width, std::int32_t characters,
                                     ElementCallback callback, ELEMENT_HEADER** children) {
    return gauge_builder::Text(position, width, kReadoutHeight, characters, kReadoutColour, kReadoutBackground,
                               kReadoutColour, kImageTransparentEraseBright, callback, &A723, children);
}

// The chain is built from its far end, so that each element can name the list holding the next one.
constinit ELEMENT_STRING stationsReadout = ReadoutText({200, 30}, 60, 4, StationsReadout, nullptr);
constinit ELEMENT_HEADER* afterReceiverLongitude[] = {&stationsReadout.header, nullptr};
constinit ELEMENT_STRING receiverLongitude = ReadoutText({300, 10}, 120, 8, ReceiverLongitude, afterReceiverLongitude);
constinit ELEMENT_HEADER* afterReceiverLatitude[] = {&receiverLongitude.header, nullptr};
constinit ELEMENT_STRING receiverLatitude = ReadoutText({300, 30}, 120, 8, ReceiverLatitude, afterReceiverLatitude);
constinit ELEMENT_HEADER* afterZeroReadout[] = {&receiverLatitude.header, nullptr};
constinit ELEMENT_STRING zeroReadout = ReadoutText({200, 10}, 75, 5, ZeroReadout, afterZeroReadout);
constinit ELEMENT_HEADER* afterAircraftLongitude[] = {&zeroReadout.header, nullptr};
constinit ELEMENT_STRING aircraftLongitude = ReadoutText({60, 10}, 120, 8, AircraftLongitude, afterAircraftLongitude);
constinit ELEMENT_HEADER* afterAircraftLatitude[] = {&aircraftLongitude.header, nullptr};
constinit ELEMENT_STRING aircraftLatitude = ReadoutText({60, 30}, 120, 8, AircraftLatitude, afterAircraftLatitude);
constinit ELEMENT_HEADER* afterDot5[] = {&aircraftLatitude.header, nullptr};

constinit ELEMENT_ICON dot5 = LampIcon(kDotPicture, {402, 175}, DotPicture<5>, afterDot5);
constinit ELEMENT_HEADER* afterDot4[] = {&dot5.header, nullptr};
constinit ELEMENT_ICON dot4 = LampIcon(kDotPicture, {291, 175}, DotPicture<4>, afterDot4);
constinit ELEMENT_HEADER* afterDot3[] = {&dot4.header, nullptr};
constinit ELEMENT_ICON dot3 = LampIcon(kDotPicture, {348, 175}, DotPicture<3>, afterDot3);
constinit ELEMENT_HEADER* afterDot2[] = {&dot3.header, nullptr};
constinit ELEMENT_ICON dot2 = LampIcon(kDotPicture, {236, 175}, DotPicture<2>, afterDot2);
constinit ELEMENT_HEADER* afterDot1[] = {&dot2.header, nullptr};
constinit ELEMENT_ICON dot1 = LampIcon(kDotPicture, {402, 98}, DotPicture<1>, afterDot1);
constinit ELEMENT_HEADER* afterDot0[] = {&dot1.header, nullptr};
constinit ELEMENT_ICON dot0 = LampIcon(kDotPicture, {291, 98}, DotPicture<0>, afterDot0);
constinit ELEMENT_HEADER* afterEnterLight[] = {&dot0.header, nullptr};

constinit ELEMENT_ICON enterLight = LampIcon(368, {297, 420}, LampPicture<&Lamps::enterLight>, afterEnterLight);
constinit ELEMENT_HEADER* afterMinus[] = {&enterLight.header, nullptr};
constinit ELEMENT_ICON minusBar = LampIcon(362, {152, 98}, LampPicture<&Lamps::lampMinus>, afterMinus);
constinit ELEMENT_HEADER* afterPrecise[] = {&minusBar.header, nullptr};
constinit ELEMENT_ICON precise = LampIcon(363, {133, 68}, LampPicture<&Lamps::lampPrecise>, afterPrecise);
constinit ELEMENT_HEADER* afterEast[] = {&precise.header, nullptr};
constinit ELEMENT_ICON east = LampIcon(364, {74, 167}, LampPicture<&Lamps::lampEast>, afterEast);
constinit ELEMENT_HEADER* afterWest[] = {&east.header, nullptr};
constinit ELEMENT_ICON west = LampIcon(366, {74, 145}, LampPicture<&Lamps::lampWest>, afterWest);
constinit ELEMENT_HEADER* afterSouth[] = {&west.header, nullptr};
constinit ELEMENT_ICON south = LampIcon(365, {74, 89}, LampPicture<&Lamps::lampSouth>, afterSouth);
constinit ELEMENT_HEADER* afterNorth[] = {&south.header, nullptr};
constinit ELEMENT_ICON north = LampIcon(359, {74, 67}, LampPicture<&Lamps::lampNorth>, afterNorth);
constinit ELEMENT_HEADER* afterLower6[] = {&north.header, nullptr};

constinit ELEMENT_ICON lower6 = DigitIcon({421, 146}, LowerDigit<5>, afterLower6);
constinit ELEMENT_HEADER* afterLower5[] = {&lower6.header, nullptr};
constinit ELEMENT_ICON lower5 = DigitIcon({368, 146}, LowerDigit<4>, afterLower5);
constinit ELEMENT_HEADER* afterLower4[] = {&lower5.header, nullptr};
constinit ELEMENT_ICON lower4 = DigitIcon({312, 146}, LowerDigit<3>, afterLower4);
constinit ELEMENT_HEADER* afterLower3[] = {&lower4.header, nullptr};
constinit ELEMENT_ICON lower3 = DigitIcon({256, 146}, LowerDigit<2>, afterLower3);
constinit ELEMENT_HEADER* afterLower2[] = {&lower3.header, nullptr};
constinit ELEMENT_ICON lower2 = DigitIcon({200, 146}, LowerDigit<1>, afterLower2);
constinit ELEMENT_HEADER* afterLower1[] = {&lower2.header, nullptr};
constinit ELEMENT_ICON lower1 = DigitIcon({145, 146}, LowerDigit<0>, afterLower1);
constinit ELEMENT_HEADER* afterUpper5[] = {&lower1.header, nullptr};

constinit ELEMENT_ICON upper5 = DigitIcon({421, 68}, UpperDigit<4>, afterUpper5);
constinit ELEMENT_HEADER* afterUpper4[] = {&upper5.header, nullptr};
constinit ELEMENT_ICON upper4 = DigitIcon({368, 68}, UpperDigit<3>, afterUpper4);
constinit ELEMENT_HEADER* afterUpper3[] = {&upper4.header, nullptr};
constinit ELEMENT_ICON upper3 = DigitIcon({312, 68}, UpperDigit<2>, afterUpper3);
constinit ELEMENT_HEADER* afterUpper2[] = {&upper3.header, nullptr};
constinit ELEMENT_ICON upper2 = DigitIcon({256, 68}, UpperDigit<1>, afterUpper2);
constinit ELEMENT_HEADER* afterUpper1[] = {&upper2.header, nullptr};
constinit ELEMENT_ICON upper1 = DigitIcon({200, 68}, UpperDigit<0>, afterUpper1);
constinit ELEMENT_HEADER* afterSlot2[] = {&upper1.header, nullptr};

constinit ELEMENT_ICON slot2 = DigitIcon({132, 272}, SlotDigit<1>, afterSlot2);
constinit ELEMENT_HEADER* afterSlot1[] = {&slot2.header, nullptr};
constinit ELEMENT_ICON slot1 = DigitIcon({79, 272}, SlotDigit<0>, afterSlot1);
constinit ELEMENT_HEADER* afterTo[] = {&slot1.header, nullptr};

constinit ELEMENT_ICON to = LampIcon(355, {133, 237}, LampPicture<&Lamps::lampTo>, afterTo);
constinit ELEMENT_HEADER* afterFrom[] = {&to.header, nullptr};
constinit ELEMENT_ICON from = LampIcon(356, {79, 237}, LampPicture<&Lamps::lampFrom>, afterFrom);
constinit ELEMENT_HEADER* afterZone[] = {&from.header, nullptr};
constinit ELEMENT_ICON zone = LampIcon(367, {458, 168}, LampPicture<&Lamps::lampZone>, afterZone);
constinit ELEMENT_HEADER* afterSync[] = {&zone.header, nullptr};
constinit ELEMENT_ICON sync = LampIcon(360, {457, 144}, LampPicture<&Lamps::lampSync>, afterSync);
constinit ELEMENT_HEADER* afterDeadReckoning[] = {&sync.header, nullptr};
constinit ELEMENT_ICON deadReckoning =
    LampIcon(358, {457, 119}, LampPicture<&Lamps::lampDeadReckoning>, afterDeadReckoning);
constinit ELEMENT_HEADER* afterStop[] = {&deadReckoning.header, nullptr};
constinit ELEMENT_ICON stop = LampIcon(361, {457, 94}, LampPicture<&Lamps::stopMode>, afterStop);
constinit ELEMENT_HEADER* afterFailure[] = {&stop.header, nullptr};
constinit ELEMENT_ICON failure = LampIcon(357, {457, 70}, LampPicture<&Lamps::lampFailure>, afterFailure);
constinit ELEMENT_HEADER* afterKnob[] = {&failure.header, nullptr};

// Positions ОТКЛ to КОНТР around the knob.
constinit NEEDLE_POINT knobPoints[] = {
    NeedlePoint(105, 510, 0.0), NeedlePoint(99, 493, 1.0),  NeedlePoint(100, 473, 2.0),  NeedlePoint(106, 454, 3.0),
    NeedlePoint(120, 438, 4.0), NeedlePoint(138, 426, 5.0), NeedlePoint(159, 424, 6.0),  NeedlePoint(179, 427, 7.0),
    NeedlePoint(209, 453, 8.0), NeedlePoint(216, 472, 9.0), NeedlePoint(208, 513, 10.0),
};
constinit ELEMENT_NEEDLE knob = gauge_builder::Needle(354, {158, 483}, {56, 56}, knobPoints, 11, 50,
                                                      gauge_builder::kImageTransparentErase, KnobPosition, &A723, afterKnob);
constinit ELEMENT_HEADER* afterFace[] = {&knob.header, nullptr};
constinit ELEMENT_STATIC_IMAGE face = gauge_builder::BackgroundImage(353, &A723, afterFace);
constinit ELEMENT_HEADER* elements[] = {&face.header, nullptr};

constexpr std::int32_t kKey = mouse_cursor::kHand;
constexpr std::uint32_t kClick = mouse_flag::kLeftSingle;

constinit MOUSERECT mouse[] = {
    gauge_builder::MouseOpenParent(),
    MouseChild(95, 420, 60, 120, mouse_cursor::kDownArrow, kClick, KnobLeft),
    MouseChild(156, 420, 60, 120, mouse_cursor::kUpArrow, kClick, KnobRight),
    MouseChild(355, 270, 50, 50, kKey, kClick, DigitKey<1>),
    MouseChild(425, 270, 50, 50, kKey, kClick, DigitKey<2>),  // СЕВ
    MouseChild(485, 270, 50, 50, kKey, kClick, DigitKey<3>),
    MouseChild(355, 340, 50, 50, kKey, kClick, DigitKey<4>),  // ЗАП
    MouseChild(425, 340, 50, 50, kKey, kClick, DigitKey<5>),
    MouseChild(485, 340, 50, 50, kKey, kClick, DigitKey<6>),  // ВОСТ
    MouseChild(355, 410, 50, 50, kKey, kClick, DigitKey<7>),
    MouseChild(425, 410, 50, 50, kKey, kClick, DigitKey<8>),  // ЮГ
    MouseChild(485, 410, 50, 50, kKey, kClick, DigitKey<9>),
    MouseChild(425, 480, 50, 50, kKey, kClick, DigitKey<0>),
    MouseChild(285, 410, 50, 50, kKey, kClick, EnterKey),  // ВВОД
    MouseChild(485, 480, 50, 50, kKey, kClick, ClearKey),  // СБРС
    MouseChild(355, 480, 50, 50, kKey, kClick, StopKey),   // СТОП
    gauge_builder::MouseCloseParent(),
    gauge_builder::MouseListEnd(),
};

}  // namespace A723_records

constinit GAUGEHDR A723 = gauge_builder::VisibleGaugeHeader("A723", A723_records::elements, A723_records::mouse);

namespace AZS_A723_records {

constinit ELEMENT_ICON lever =
    gauge_builder::Icon(257, {0, 0}, 2, gauge_builder::kImageTransparentErase, BreakerPosition, &AZS_A723);  // 258 on
constinit ELEMENT_HEADER* leverList[] = {&lever.header, nullptr};
constinit ELEMENT_STATIC_IMAGE plate = gauge_builder::BackgroundImage(320, &AZS_A723, leverList);
constinit ELEMENT_HEADER* elements[] = {&plate.header, nullptr};
constinit MOUSERECT mouse[] = {
    gauge_builder::MouseOpenParent(),
    gauge_builder::MouseChild(0, 0, 30, 60, mouse_cursor::kHand, mouse_flag::kLeftSingle, FlipBreaker),
    gauge_builder::MouseCloseParent(),
    gauge_builder::MouseListEnd(),
};

}  // namespace AZS_A723_records

constinit GAUGEHDR AZS_A723 =
    gauge_builder::VisibleGaugeHeader("AZS_A723", AZS_A723_records::elements, AZS_A723_records::mouse);

}  // namespace gauges
