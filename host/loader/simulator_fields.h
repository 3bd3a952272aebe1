// The simulator's own fields of a module's records, written as the simulator
// writes them: the header's place, size and parameter string when it creates
// a gauge, each string element's character width and height when it measures
// the font, and, as it draws, the previous position and element, the
// on-screen bit, each needle point's angle and its saved images and values.
// A module that read any of these, or a record shorter than the simulator's,
// would then show in a test.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "frame/panel_records.h"

// Where a panel configuration line puts a gauge: its place in the window, its
// size in pixels and the line's parameter string.
struct GaugeSite {
    PIXPOINT position{};
    PIXPOINT size{};
    std::string parameters;
};

class SimulatorFields {
public:
    SimulatorFields();

    // The placement of a gauge by name, from a panel layout's gauge line;
    // a gauge on no line gets a placement off every window.
    void Place(std::string_view gauge, GaugeSite placement);

    // When the simulator creates the gauges: everything below, and the
    // headers and the measured fonts.
    void WriteAtCreation(const std::vector<GAUGEHDR*>& gauges);
    // Every frame, as the simulator draws.
    void WriteAtFrame(const std::vector<GAUGEHDR*>& gauges);

private:
    const GaugeSite& PlacementOf(const GAUGEHDR* gauge) const;

    std::map<std::string, GaugeSite, std::less<>> placements_;
    GaugeSite unplaced_;
    // What the simulator's pointers lead to: memory of its own that the
    // module must never reach.
    std::vector<unsigned char> simulatorMemory_;
    std::string usage_;
};
