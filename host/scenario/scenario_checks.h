// What a scenario asks of the loaded module's gauges, checked before the
// first frame: every gauge it names exists, every element number lies in
// that gauge's chain and is of a kind that answers what is asked of it, and
// every mouse event lands in one of the gauge's mouse areas.
#pragma once

#include <vector>

#include "frame/panel_records.h"
#include "scenario/scenario.h"

namespace scenario {

std::vector<Problem> CheckAgainstGauges(const Scenario& scenario, const std::vector<GAUGEHDR*>& gauges);

}  // namespace scenario
