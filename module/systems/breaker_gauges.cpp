// Circuit breakers and the drain-heating switch of the aircraft systems.
// The nine two-position breakers share one set of records, instantiated per
// gauge from the breaker's field.
#include <cstdint>

#include "frame/gauge_builder.h"
#include "frame/gauge_table.h"
#include "frame/module_objects.h"
#include "systems/aircraft_systems.h"

namespace {

using BreakerField = std::uint8_t AircraftSystems::*;

constexpr std::int32_t kBreakerPlate = 320;     // 30x60
constexpr std::int32_t kBreakerLever = 257;     // 257 off, 258 on
constexpr std::int32_t kDrainHeatLever = 1282;  // 1282 to 1284, one per position
constexpr PIXPOINT kCorner = {0, 0};

constexpr std::int32_t kDrainHeatHighest = 2;

// A two-position breaker on one flag of AircraftSystems; the update turns the
// flag into lamps and exchanger outputs at the next frame.
template <GAUGEHDR& Gauge, BreakerField Field>
struct Breaker {
    static double FSAPI Position(ELEMENT_HEADER*) { return aircraftState.systems->*Field; }

    // The area's mask admits left clicks only.
    static std::int32_t FSAPI Flip(PIXPOINT*, std::uint32_t) {
        std::uint8_t& breaker = aircraftState.systems->*Field;
        breaker = breaker > 0 ? 0 : 1;
        soundBank.PlaySwitchClick();
        return 1;
    }

    static constinit inline ELEMENT_ICON lever =
        gauge_builder::Icon(kBreakerLever, kCorner, 2, gauge_builder::kImageTransparentErase, Position, &Gauge);
    static constinit inline ELEMENT_HEADER* leverList[] = {&lever.header, nullptr};
    static constinit inline ELEMENT_STATIC_IMAGE plate =
        gauge_builder::BackgroundImage(kBreakerPlate, &Gauge, leverList);
    static constinit inline ELEMENT_HEADER* elements[] = {&plate.header, nullptr};
    static constinit inline MOUSERECT mouse[] = {
        gauge_builder::MouseOpenParent(),
        gauge_builder::MouseChild(0, 0, 30, 60, mouse_cursor::kHand, mouse_flag::kLeftSingle, Flip),
        gauge_builder::MouseCloseParent(),
        gauge_builder::MouseListEnd(),
    };

    static constexpr GAUGEHDR Header(const char* name) {
        return gauge_builder::VisibleGaugeHeader(name, elements, mouse);
    }
};

// AZS_sliv_heat: three positions, the middle one (1) off; the upper half of
// the lever steps up, the lower half down, and an end position stays put.
double FSAPI DrainHeatPosition(ELEMENT_HEADER*) { return aircraftState.systems->drainHeatSwitch; }

std::int32_t FSAPI DrainHeatStepUp(PIXPOINT*, std::uint32_t) {
    std::int32_t& position = aircraftState.systems->drainHeatSwitch;
    if (position < kDrainHeatHighest) {
        ++position;
        soundBank.PlaySwitchClick();
    }
    return 1;
}

std::int32_t FSAPI DrainHeatStepDown(PIXPOINT*, std::uint32_t) {
    std::int32_t& position = aircraftState.systems->drainHeatSwitch;
    if (position >= 1) {
        --position;
        soundBank.PlaySwitchClick();
    }
    return 1;
}

}  // namespace

namespace gauges {

constinit GAUGEHDR AZS_ITV = Breaker<AZS_ITV, &AircraftSystems::itvBreaker>::Header("AZS_ITV");
constinit GAUGEHDR AZS_wing_lights =
    Breaker<AZS_wing_lights, &AircraftSystems::wingLightsBreaker>::Header("AZS_wing_lights");
constinit GAUGEHDR AZS_ARD_heat = Breaker<AZS_ARD_heat, &AircraftSystems::ardHeatBreaker>::Header("AZS_ARD_heat");
constinit GAUGEHDR AZS_door_heat = Breaker<AZS_door_heat, &AircraftSystems::doorHeatBreaker>::Header("AZS_door_heat");
constinit GAUGEHDR AZS_gear_vent = Breaker<AZS_gear_vent, &AircraftSystems::gearVentBreaker>::Header("AZS_gear_vent");
constinit GAUGEHDR AZS_water_level =
    Breaker<AZS_water_level, &AircraftSystems::waterLevelBreaker>::Header("AZS_water_level");
constinit GAUGEHDR AZS_water_pump1 =
    Breaker<AZS_water_pump1, &AircraftSystems::waterPump1Breaker>::Header("AZS_water_pump1");
constinit GAUGEHDR AZS_water_pump2 =
    Breaker<AZS_water_pump2, &AircraftSystems::waterPump2Breaker>::Header("AZS_water_pump2");
constinit GAUGEHDR AZS_Thvost_signal =
    Breaker<AZS_Thvost_signal, &AircraftSystems::tailSignalBreaker>::Header("AZS_Thvost_signal");

namespace AZS_sliv_heat_records {

constinit ELEMENT_ICON lever = gauge_builder::Icon(kDrainHeatLever, kCorner, 3, gauge_builder::kImageTransparentErase,
                                                   DrainHeatPosition, &AZS_sliv_heat);
constinit ELEMENT_HEADER* leverList[] = {&lever.header, nullptr};
constinit ELEMENT_STATIC_IMAGE plate = gauge_builder::BackgroundImage(kBreakerPlate, &AZS_sliv_heat, leverList);
constinit ELEMENT_HEADER* elements[] = {&plate.header, nullptr};
constinit MOUSERECT mouse[] = {
    gauge_builder::MouseOpenParent(),
    gauge_builder::MouseChild(0, 0, 30, 30, mouse_cursor::kUpArrow, mouse_flag::kLeftSingle, DrainHeatStepUp),
    gauge_builder::MouseChild(0, 30, 30, 30, mouse_cursor::kUpArrow, mouse_flag::kLeftSingle, DrainHeatStepDown),
    gauge_builder::MouseCloseParent(),
    gauge_builder::MouseListEnd(),
};

}  // namespace AZS_sliv_heat_records

constinit GAUGEHDR AZS_sliv_heat =
    gauge_builder::VisibleGaugeHeader("AZS_sliv_heat", AZS_sliv_heat_records::elements, AZS_sliv_heat_records::mouse);

}  // namespace gauges
