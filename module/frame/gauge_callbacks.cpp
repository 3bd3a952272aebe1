#include "frame/gauge_callbacks.h"

#include "frame/module_objects.h"

void FSAPI LogicCallback(GAUGEHDR*, std::int32_t serviceId, RoutineValue) {
    if (serviceId == kServicePreUpdate) aircraftState.Update();
}

void FSAPI IdleGaugeCallback(GAUGEHDR*, std::int32_t, RoutineValue) {}
