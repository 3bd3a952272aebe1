#include "frame/panels.h"

#include "frame/exports.h"

namespace panels {
namespace {

template <typename Function>
Function Slot(int slot) {
    PANELS* table = ImportTable.panels.pointer;
    if (table == nullptr || slot < 0 || slot >= kPanelsSlotCount) return nullptr;
    return reinterpret_cast<Function>(table->slots[slot]);
}

}  // namespace

RoutineValue CallElementRoutine(int slot, ELEMENT_HEADER* element) {
    auto function = Slot<PanelsElementRoutine>(slot);
    return function != nullptr ? function(element) : 0;
}

RoutineValue CallElementRoutine(int slot, ELEMENT_HEADER* element, RoutineValue argument) {
    auto function = Slot<PanelsElementRoutineArg>(slot);
    return function != nullptr ? function(element, argument) : 0;
}

void TogglePanelWindow(std::uint32_t windowId) {
    if (auto function = Slot<PanelsTogglePanelWindow>(panels_slot::kTogglePanelWindow)) function(windowId);
}

void LookupVariable(MODULE_VAR* variable) {
    if (auto function = Slot<PanelsLookupVariable>(panels_slot::kLookupVariable)) function(variable);
}

double AircraftVariable(std::int32_t variable, std::int32_t unit, std::int32_t index) {
    auto function = Slot<PanelsAircraftVariable>(panels_slot::kAircraftVariable);
    return function != nullptr ? function(variable, unit, index) : 0.0;
}

void SendEvent(std::uint32_t eventId, std::uint32_t value) {
    if (auto function = Slot<PanelsSendEvent>(panels_slot::kSendEvent)) function(eventId, value);
}

}  // namespace panels
