// Click areas that show and hide panel windows. The simulator's window call
// flips a window between shown and hidden; only the setter window's state is
// tracked here, so that leaving for the engineer's panel can take it along.
#include <cstdint>

#include "frame/gauge_builder.h"
#include "frame/gauge_table.h"
#include "frame/module_objects.h"
#include "frame/panels.h"
#include "systems/aircraft_systems.h"

namespace {

constexpr std::uint32_t kSetterWindow = 11240;
constexpr std::uint32_t kEngineerPanel = 12100;
constexpr std::uint32_t kStripLeftWindow = 1271;
constexpr std::uint32_t kStripMiddleWindow = 12200;

constexpr std::int32_t kToggleSpot = 341;  // 10x10
constexpr PIXPOINT kCorner = {0, 0};

std::int32_t FSAPI ToggleEngineerPanel(PIXPOINT*, std::uint32_t) {
    panels::TogglePanelWindow(kEngineerPanel);
    // The setter window would otherwise stay on top of the engineer's panel;
    // the flag keeps its value, so the setter toggle's next click shows it again.
    if (aircraftState.systems->ardWindowOpen) panels::TogglePanelWindow(kSetterWindow);
    return 1;
}

std::int32_t FSAPI ToggleSetterWindow(PIXPOINT*, std::uint32_t) {
    panels::TogglePanelWindow(kSetterWindow);
    std::uint8_t& open = aircraftState.systems->ardWindowOpen;
    open = open ? 0 : 1;
    return 1;
}

template <std::uint32_t Window>
std::int32_t FSAPI ToggleWindow(PIXPOINT*, std::uint32_t) {
    panels::TogglePanelWindow(Window);
    return 1;
}

double FSAPI BiLampOverlay(ELEMENT_HEADER*) { return aircraftState.systems->biLamp - 1.0; }

}  // namespace

namespace gauges {
namespace Eng_R_toggl_records {

constinit ELEMENT_STATIC_IMAGE spot = gauge_builder::BackgroundImage(kToggleSpot, &Eng_R_toggl);
constinit ELEMENT_HEADER* elements[] = {&spot.header, nullptr};
constinit MOUSERECT mouse[] = {
    gauge_builder::MouseOpenParent(),
    gauge_builder::MouseChild(0, 0, 10, 10, mouse_cursor::kHand, mouse_flag::kLeftSingle, ToggleEngineerPanel),
    gauge_builder::MouseCloseParent(),
    gauge_builder::MouseListEnd(),
};

}  // namespace Eng_R_toggl_records

namespace zad_SRD_toggl_records {

constinit ELEMENT_STATIC_IMAGE spot = gauge_builder::BackgroundImage(kToggleSpot, &zad_SRD_toggl);
constinit ELEMENT_HEADER* elements[] = {&spot.header, nullptr};
constinit MOUSERECT mouse[] = {
    gauge_builder::MouseOpenParent(),
    gauge_builder::MouseChild(0, 0, 10, 10, mouse_cursor::kHand, mouse_flag::kLeftSingle, ToggleSetterWindow),
    gauge_builder::MouseCloseParent(),
    gauge_builder::MouseListEnd(),
};

}  // namespace zad_SRD_toggl_records

// A strip in three thirds, each flipping one window, with the BI lamp's light
// drawn over it.
namespace Eng_over_toggl_records {

constinit ELEMENT_ICON biLight =
    gauge_builder::Icon(1290, kCorner, 1, gauge_builder::kImageTransparentEraseBright, BiLampOverlay, &Eng_over_toggl);
constinit ELEMENT_HEADER* biLightList[] = {&biLight.header, nullptr};
constinit ELEMENT_STATIC_IMAGE strip = gauge_builder::BackgroundImage(1289, &Eng_over_toggl, biLightList);
constinit ELEMENT_HEADER* elements[] = {&strip.header, nullptr};
constinit MOUSERECT mouse[] = {
    gauge_builder::MouseOpenParent(),
    gauge_builder::MouseChild(0, 2, 341, 84, mouse_cursor::kHand, mouse_flag::kLeftSingle,
                              ToggleWindow<kStripLeftWindow>),
    gauge_builder::MouseChild(342, 2, 341, 84, mouse_cursor::kHand, mouse_flag::kLeftSingle,
                              ToggleWindow<kStripMiddleWindow>),
    gauge_builder::MouseChild(683, 2, 341, 84, mouse_cursor::kHand, mouse_flag::kLeftSingle,
                              ToggleWindow<kEngineerPanel>),
    gauge_builder::MouseCloseParent(),
    gauge_builder::MouseListEnd(),
};

}  // namespace Eng_over_toggl_records

constinit GAUGEHDR Eng_R_toggl =
    gauge_builder::VisibleGaugeHeader("Eng_R_toggl", Eng_R_toggl_records::elements, Eng_R_toggl_records::mouse);
constinit GAUGEHDR zad_SRD_toggl =
    gauge_builder::VisibleGaugeHeader("zad_SRD_toggl", zad_SRD_toggl_records::elements, zad_SRD_toggl_records::mouse);
constinit GAUGEHDR Eng_over_toggl = gauge_builder::VisibleGaugeHeader(
    "Eng_over_toggl", Eng_over_toggl_records::elements, Eng_over_toggl_records::mouse);

}  // namespace gauges
