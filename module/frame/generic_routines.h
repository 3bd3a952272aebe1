// The seven routines that the simulator calls on every gauge. All 39 gauge
// headers share them; each passes the call on to the simulator with the logic
// gauge's background element, whichever gauge it was called for.
#pragma once

#include "frame/panel_records.h"

RoutineValue FSAPI GenericRoutine1();
RoutineValue FSAPI GenericRoutine2(RoutineValue argument);
RoutineValue FSAPI GenericRoutine3();
RoutineValue FSAPI GenericRoutine4();
RoutineValue FSAPI GenericRoutine5(RoutineValue argument);
RoutineValue FSAPI GenericRoutine6();
RoutineValue FSAPI GenericRoutine7();
