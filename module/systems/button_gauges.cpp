// Push-buttons of the aircraft systems: test buttons that hold a flag of
// AircraftSystems while pressed, and the three SSOS buttons that sound the
// second siren while it is armed. Each gauge keeps its own picture flag and
// click latch, so pressing one button never shows another as pressed.
#include <cstdint>

#include "frame/gauge_builder.h"
#include "frame/gauge_table.h"
#include "frame/module_objects.h"
#include "systems/aircraft_systems.h"

namespace {

using HeldField = std::uint8_t AircraftSystems::*;

constexpr std::int32_t kButtonRim = 260;  // 18x18
constexpr std::int32_t kButtonPressed = 261;
constexpr PIXPOINT kCorner = {0, 0};
constexpr std::uint32_t kButtonEvents = 0x20220800;  // press, held, release, pointer gone

enum class Siren : bool { kNone, kWhileArmed };

template <GAUGEHDR& Gauge, HeldField Field, Siren ButtonSiren>
struct PushButton {
    static inline std::uint8_t pictureFlag = 0;
    static inline std::uint8_t clickLatch = 0;

    static double FSAPI Picture(ELEMENT_HEADER*) { return pictureFlag - 1.0; }

    // Every event that reaches the button holds it down; a release or the
    // pointer leaving the area lets it go. The latch makes the press click
    // once, not on every held frame.
    static std::int32_t FSAPI Press(PIXPOINT*, std::uint32_t flags) {
        AircraftSystems& systems = *aircraftState.systems;
        pictureFlag = 1;
        if constexpr (Field != nullptr) systems.*Field = 1;
        if constexpr (ButtonSiren == Siren::kWhileArmed) {
            if (systems.ssosSirenArmed) soundBank.StartSirenPr();
        }
        if (clickLatch == 0 && flags != mouse_flag::kLeftRelease) {
            soundBank.PlayButtonClick();
            clickLatch = 1;
        }
        if (flags == mouse_flag::kLeftRelease || flags == mouse_flag::kLeave) {
            pictureFlag = 0;
            soundBank.PlayButtonClick();
            clickLatch = 0;
            if constexpr (Field != nullptr) systems.*Field = 0;
            if constexpr (ButtonSiren == Siren::kWhileArmed) soundBank.StopSirenPr();
        }
        return 1;
    }

    static constinit inline ELEMENT_ICON cap =
        gauge_builder::Icon(kButtonPressed, kCorner, 1, gauge_builder::kImageTransparentErase, Picture, &Gauge);
    static constinit inline ELEMENT_HEADER* capList[] = {&cap.header, nullptr};
    static constinit inline ELEMENT_STATIC_IMAGE rim = gauge_builder::BackgroundImage(kButtonRim, &Gauge, capList);
    static constinit inline ELEMENT_HEADER* elements[] = {&rim.header, nullptr};
    static constinit inline MOUSERECT mouse[] = {
        gauge_builder::MouseOpenParent(),
        gauge_builder::MouseChild(0, 0, 18, 18, mouse_cursor::kHand, kButtonEvents, Press),
        gauge_builder::MouseCloseParent(),
        gauge_builder::MouseListEnd(),
    };

    static constexpr GAUGEHDR Header(const char* name) {
        return gauge_builder::VisibleGaugeHeader(name, elements, mouse);
    }
};

}  // namespace

namespace gauges {

constinit GAUGEHDR SSOS_btn1 = PushButton<SSOS_btn1, nullptr, Siren::kWhileArmed>::Header("SSOS_btn1");
constinit GAUGEHDR SSOS_btn2 = PushButton<SSOS_btn2, nullptr, Siren::kWhileArmed>::Header("SSOS_btn2");
constinit GAUGEHDR SSOS_btn3 = PushButton<SSOS_btn3, nullptr, Siren::kWhileArmed>::Header("SSOS_btn3");
constinit GAUGEHDR water_level_check =
    PushButton<water_level_check, &AircraftSystems::waterCheckPressed, Siren::kNone>::Header("water_level_check");
constinit GAUGEHDR sliv_heat_check_btn =
    PushButton<sliv_heat_check_btn, &AircraftSystems::drainCheckPressed, Siren::kNone>::Header("sliv_heat_check_btn");
// The two tail-compartment buttons share one flag: letting go of either
// clears it, even while the other is still held.
constinit GAUGEHDR Thvost_check_1 =
    PushButton<Thvost_check_1, &AircraftSystems::tailCheckPressed, Siren::kNone>::Header("Thvost_check_1");
constinit GAUGEHDR Thvost_check_2 =
    PushButton<Thvost_check_2, &AircraftSystems::tailCheckPressed, Siren::kNone>::Header("Thvost_check_2");

}  // namespace gauges
