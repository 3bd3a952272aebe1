// What the simulator does with a gauge's static records: walks its element
// tree, asks each element for its value or text, and finds the mouse area
// under a click and calls its handler.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "frame/panel_records.h"

namespace gauge_access {

// Every element of the gauge, depth first: each element before its children.
std::vector<ELEMENT_HEADER*> Elements(const GAUGEHDR* gauge);

// The element's value through its callback; 0 when it has none.
double ElementValue(ELEMENT_HEADER* element);
// A string element's text once its callback has run (needs a text buffer,
// see ModuleHost).
std::string ElementText(ELEMENT_HEADER* element);

struct MouseArea {
    const MOUSERECT* rect;
    int x, y;  // the box on the gauge, parents' offsets added
    int width, height;
};

// The gauge's child areas in list order, with their boxes on the gauge.
std::vector<MouseArea> ChildAreas(const GAUGEHDR* gauge);
// The first child area whose box holds the point (gauge pixels).
std::optional<MouseArea> AreaAt(const GAUGEHDR* gauge, int x, int y);

// Delivers an event at a point: the area under it is found, the event is
// checked against the area's mask, and its handler called. True when a
// handler ran.
bool DeliverMouse(const GAUGEHDR* gauge, int x, int y, std::uint32_t eventFlags);

}  // namespace gauge_access
