// Calls into the simulator through the PANELS table that the simulator writes
// into ImportTable before it calls anything in the module. Each call is made
// only from the panel thread; before the table is set, calls do nothing.
#pragma once

#include <cstdint>

#include "frame/panel_records.h"

namespace panels {

RoutineValue CallElementRoutine(int slot, ELEMENT_HEADER* element);
RoutineValue CallElementRoutine(int slot, ELEMENT_HEADER* element, RoutineValue argument);
void TogglePanelWindow(std::uint32_t windowId);
void LookupVariable(MODULE_VAR* variable);
double AircraftVariable(std::int32_t variable, std::int32_t unit, std::int32_t index);
void SendEvent(std::uint32_t eventId, std::uint32_t value);

}  // namespace panels
