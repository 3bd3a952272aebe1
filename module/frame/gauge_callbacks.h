// Gauge callbacks: the logic gauge drives the frame, every other gauge idles.
#pragma once

#include "frame/panel_records.h"

void FSAPI LogicCallback(GAUGEHDR* gauge, std::int32_t serviceId, RoutineValue extraData);
void FSAPI IdleGaugeCallback(GAUGEHDR* gauge, std::int32_t serviceId, RoutineValue extraData);
