// The crew messages window, which shows the newest pending message and
// dismisses it on a click, and the test readout of brake temperature and water.
#include <algorithm>
#include <cstdint>

#include "frame/element_text.h"
#include "frame/gauge_builder.h"
#include "frame/gauge_table.h"
#include "frame/module_objects.h"
#include "frame/panels.h"
#include "systems/aircraft_systems.h"

namespace {

constexpr std::uint32_t kMessagesWindow = 11241;
constexpr PIXPOINT kCorner = {0, 0};
constexpr std::int32_t kReadoutCharacters = 11;

// With nothing pending the sheet keeps the code last at the bottom of the
// stack; the window is hidden then anyway. The index is held to the stack so
// that an odd count can never read outside it.
double FSAPI NewestMessage(ELEMENT_HEADER*) {
    const AircraftSystems& systems = *aircraftState.systems;
    const int newest = std::clamp(systems.messageCount - 1, 0, AircraftSystems::kMessageCapacity - 1);
    return systems.messages[newest];
}

std::int32_t FSAPI DismissMessage(PIXPOINT*, std::uint32_t) {
    std::int32_t& count = aircraftState.systems->messageCount;
    if (count > 0) {
        --count;
        if (count == 0) panels::TogglePanelWindow(kMessagesWindow);
    }
    return 1;
}

// The texts are longer than the readout's 11 characters at larger values;
// SetElementText cuts them to the element.
double FSAPI BrakeTemperatureReadout(ELEMENT_HEADER* element) {
    const double temperature = aircraftState.systems->brakeTemperature;
    SetElementText(element, "Ttorm %.1f", temperature);
    return temperature;
}

double FSAPI WaterReadout(ELEMENT_HEADER* element) {
    const double water = aircraftState.systems->waterQuantity;
    SetElementText(element, "Water %.2f", water);
    return water;
}

constexpr ELEMENT_STRING Readout(PIXPOINT position, ElementCallback callback, GAUGEHDR* gauge) {
    return gauge_builder::Text(position, 103, 20, kReadoutCharacters, gauge_builder::kTextColourPale, 0,
                               gauge_builder::kTextColourPale, gauge_builder::kImageTransparentEraseBright, callback, gauge);
}

}  // namespace

namespace gauges {
namespace Messages_records {

constinit ELEMENT_ICON message =
    gauge_builder::Icon(593, kCorner, 4, gauge_builder::kImageTransparentErase, NewestMessage, &Messages);
constinit ELEMENT_HEADER* messageList[] = {&message.header, nullptr};
constinit ELEMENT_STATIC_IMAGE sheet = gauge_builder::BackgroundImage(592, &Messages, messageList);
constinit ELEMENT_HEADER* elements[] = {&sheet.header, nullptr};
constinit MOUSERECT mouse[] = {
    gauge_builder::MouseOpenParent(),
    gauge_builder::MouseChild(0, 0, 600, 300, mouse_cursor::kHand, mouse_flag::kLeftSingle, DismissMessage),
    gauge_builder::MouseCloseParent(),
    gauge_builder::MouseListEnd(),
};

}  // namespace Messages_records

// The only gauge whose background has two children, side by side.
namespace test_records {

constinit ELEMENT_STRING brakeTemperature = Readout({3, 5}, BrakeTemperatureReadout, &test);
constinit ELEMENT_STRING water = Readout({3, 30}, WaterReadout, &test);
constinit ELEMENT_HEADER* lines[] = {&brakeTemperature.header, &water.header, nullptr};
constinit ELEMENT_STATIC_IMAGE panel = gauge_builder::BackgroundImage(1291, &test, lines);
constinit ELEMENT_HEADER* elements[] = {&panel.header, nullptr};
constinit MOUSERECT mouse[] = {
    gauge_builder::MouseOpenParent(),
    gauge_builder::MouseCloseParent(),
    gauge_builder::MouseListEnd(),
};

}  // namespace test_records

constinit GAUGEHDR Messages =
    gauge_builder::VisibleGaugeHeader("Messages", Messages_records::elements, Messages_records::mouse);
constinit GAUGEHDR test = gauge_builder::VisibleGaugeHeader("test", test_records::elements, test_records::mouse);

}  // namespace gauges
