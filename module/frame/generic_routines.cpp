#include "frame/generic_routines.h"

#include "frame/exports.h"
#include "frame/panels.h"

namespace {

ELEMENT_HEADER* LogicBackground() { return Linkage.gauges[0]->elements[0]; }

}  // namespace

RoutineValue FSAPI GenericRoutine1() {
    return panels::CallElementRoutine(panels_slot::kElementRoutine1, LogicBackground());
}
RoutineValue FSAPI GenericRoutine2(RoutineValue argument) {
    return panels::CallElementRoutine(panels_slot::kElementRoutine2, LogicBackground(), argument);
}
RoutineValue FSAPI GenericRoutine3() {
    return panels::CallElementRoutine(panels_slot::kElementRoutine3, LogicBackground());
}
RoutineValue FSAPI GenericRoutine4() {
    return panels::CallElementRoutine(panels_slot::kElementRoutine4, LogicBackground());
}
RoutineValue FSAPI GenericRoutine5(RoutineValue argument) {
    return panels::CallElementRoutine(panels_slot::kElementRoutine5, LogicBackground(), argument);
}
RoutineValue FSAPI GenericRoutine6() {
    return panels::CallElementRoutine(panels_slot::kElementRoutine6, LogicBackground());
}
RoutineValue FSAPI GenericRoutine7() {
    return panels::CallElementRoutine(panels_slot::kElementRoutine7, LogicBackground());
}
