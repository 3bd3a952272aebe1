// Warning and indication lamps of the aircraft systems: the unlit lamp as the
// background and the lit lamp drawn over it while the update has set its flag.
#include <cstdint>

#include "frame/gauge_builder.h"
#include "frame/gauge_table.h"
#include "frame/module_objects.h"
#include "systems/aircraft_systems.h"

namespace {

using LampState = std::uint8_t (*)(const AircraftSystems& systems);

constexpr PIXPOINT kCorner = {0, 0};

template <std::uint8_t AircraftSystems::*Field>
std::uint8_t Flag(const AircraftSystems& systems) {
    return systems.*Field;
}

// Empty, quarter, half, full.
template <int Level>
std::uint8_t WaterLamp(const AircraftSystems& systems) {
    static_assert(Level >= 0 && Level < 4);
    return systems.waterLamps[Level];
}

template <GAUGEHDR& Gauge, std::int32_t UnlitBitmap, std::int32_t LitBitmap, LampState State>
struct Lamp {
    // A dark lamp returns -1: nothing drawn over the unlit picture.
    static double FSAPI Lit(ELEMENT_HEADER*) { return State(*aircraftState.systems) - 1.0; }

    static constinit inline ELEMENT_ICON light =
        gauge_builder::Icon(LitBitmap, kCorner, 1, gauge_builder::kImageTransparentEraseBright, Lit, &Gauge);
    static constinit inline ELEMENT_HEADER* lightList[] = {&light.header, nullptr};
    static constinit inline ELEMENT_STATIC_IMAGE glass = gauge_builder::BackgroundImage(UnlitBitmap, &Gauge, lightList);
    static constinit inline ELEMENT_HEADER* elements[] = {&glass.header, nullptr};
    static constinit inline MOUSERECT mouse[] = {
        gauge_builder::MouseOpenParent(),
        gauge_builder::MouseCloseParent(),
        gauge_builder::MouseListEnd(),
    };

    static constexpr GAUGEHDR Header(const char* name) {
        return gauge_builder::VisibleGaugeHeader(name, elements, mouse);
    }
};

}  // namespace

namespace gauges {

constinit GAUGEHDR SSOS_lamp = Lamp<SSOS_lamp, 339, 340, Flag<&AircraftSystems::ssosLampOn>>::Header("SSOS_lamp");
constinit GAUGEHDR water_lamp_0 = Lamp<water_lamp_0, 560, 561, WaterLamp<0>>::Header("water_lamp_0");
constinit GAUGEHDR water_lamp_1_4 = Lamp<water_lamp_1_4, 560, 562, WaterLamp<1>>::Header("water_lamp_1_4");
constinit GAUGEHDR water_lamp_1_2 = Lamp<water_lamp_1_2, 560, 563, WaterLamp<2>>::Header("water_lamp_1_2");
constinit GAUGEHDR water_lamp_1 = Lamp<water_lamp_1, 560, 564, WaterLamp<3>>::Header("water_lamp_1");
constinit GAUGEHDR sliv_heat_lamp =
    Lamp<sliv_heat_lamp, 339, 340, Flag<&AircraftSystems::drainHeatLamp>>::Header("sliv_heat_lamp");
constinit GAUGEHDR Thvost_lamp = Lamp<Thvost_lamp, 1285, 1286, Flag<&AircraftSystems::tailLamp>>::Header("Thvost_lamp");
constinit GAUGEHDR BI_lamp = Lamp<BI_lamp, 1287, 1288, Flag<&AircraftSystems::biLamp>>::Header("BI_lamp");

}  // namespace gauges
