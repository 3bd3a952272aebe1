// The cabin-pressure setter: its own panel window, showing and changing the
// setter pressure that the update hands to the pressurisation model, with two
// lit overlays of the face chosen by the pressure signal.
#include <cstdint>

#include "frame/element_text.h"
#include "frame/gauge_builder.h"
#include "frame/gauge_table.h"
#include "frame/module_objects.h"
#include "frame/panels.h"
#include "systems/aircraft_systems.h"

namespace {

constexpr std::uint32_t kSetterWindow = 11240;
constexpr std::uint32_t kSetterEvents = 0xA0200000;  // left, right, left held

// Limits of the setter in millimetres of mercury. Each step is taken only if
// it lands inside them, so a value from an odd pressure setting outside the
// range can only move back toward it, never further out.
constexpr float kSetterLowest = 520.0f;
constexpr float kSetterHighest = 800.0f;
constexpr float kFineStep = 1.0f;
constexpr float kCoarseStep = 10.0f;

double FSAPI UpperOverlay(ELEMENT_HEADER*) {
    const double signal = aircraftState.systems->pressureSignal;
    return signal == 2.0 || signal == 3.0 ? 0.0 : -1.0;
}

double FSAPI LowerOverlay(ELEMENT_HEADER*) {
    const double signal = aircraftState.systems->pressureSignal;
    return signal == 1.0 || signal == 3.0 ? 0.0 : -1.0;
}

double FSAPI SetterReadout(ELEMENT_HEADER* element) {
    const double pressure = aircraftState.systems->ardSetterPressure;
    SetElementText(element, "%.1f", pressure);
    return pressure;
}

// Left click a fine step, right click a coarse one; a left button held down
// reaches the handler too and changes nothing.
std::int32_t FSAPI SetterDown(PIXPOINT*, std::uint32_t flags) {
    float& setter = aircraftState.systems->ardSetterPressure;
    if (flags == mouse_flag::kLeftSingle && setter >= kSetterLowest + kFineStep) setter -= kFineStep;
    if (flags == mouse_flag::kRightSingle && setter >= kSetterLowest + kCoarseStep) setter -= kCoarseStep;
    return 1;
}

std::int32_t FSAPI SetterUp(PIXPOINT*, std::uint32_t flags) {
    float& setter = aircraftState.systems->ardSetterPressure;
    if (flags == mouse_flag::kLeftSingle && setter <= kSetterHighest - kFineStep) setter += kFineStep;
    if (flags == mouse_flag::kRightSingle && setter <= kSetterHighest - kCoarseStep) setter += kCoarseStep;
    return 1;
}

std::int32_t FSAPI CloseSetterWindow(PIXPOINT*, std::uint32_t) {
    panels::TogglePanelWindow(kSetterWindow);
    aircraftState.systems->ardWindowOpen = 0;
    return 1;
}

}  // namespace

namespace gauges {
namespace zad_ARD_records {

constinit ELEMENT_STRING readout =
    gauge_builder::Text({90, 87}, 55, 20, 3, gauge_builder::kTextColourPale, 0, gauge_builder::kTextColourPale,
                        gauge_builder::kImageTransparentEraseBright, SetterReadout, &zad_ARD);
constinit ELEMENT_HEADER* readoutList[] = {&readout.header, nullptr};
constinit ELEMENT_ICON lowerOverlay =
    gauge_builder::Icon(337, {0, 0}, 1, gauge_builder::kImageTransparentEraseBright, LowerOverlay, &zad_ARD, readoutList);
constinit ELEMENT_HEADER* lowerOverlayList[] = {&lowerOverlay.header, nullptr};
constinit ELEMENT_ICON upperOverlay =
    gauge_builder::Icon(338, {0, 0}, 1, gauge_builder::kImageTransparentErase, UpperOverlay, &zad_ARD, lowerOverlayList);
constinit ELEMENT_HEADER* upperOverlayList[] = {&upperOverlay.header, nullptr};
constinit ELEMENT_STATIC_IMAGE face = gauge_builder::BackgroundImage(336, &zad_ARD, upperOverlayList);
constinit ELEMENT_HEADER* elements[] = {&face.header, nullptr};
constinit MOUSERECT mouse[] = {
    gauge_builder::MouseOpenParent(),
    gauge_builder::MouseChild(90, 130, 28, 58, mouse_cursor::kDownArrow, kSetterEvents, SetterDown),
    gauge_builder::MouseChild(119, 130, 28, 58, mouse_cursor::kUpArrow, kSetterEvents, SetterUp),
    gauge_builder::MouseChild(0, 280, 366, 33, mouse_cursor::kHand, mouse_flag::kLeftSingle, CloseSetterWindow),
    gauge_builder::MouseCloseParent(),
    gauge_builder::MouseListEnd(),
};

}  // namespace zad_ARD_records

constinit GAUGEHDR zad_ARD =
    gauge_builder::VisibleGaugeHeader("zad_ARD", zad_ARD_records::elements, zad_ARD_records::mouse);

}  // namespace gauges
