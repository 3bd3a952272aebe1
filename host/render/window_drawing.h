// Whole panel windows: the gauges a window lists, each at its place and scaled to its size, over the window's
// background colour.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frame/panel_records.h"
#include "loader/module_host.h"
#include "render/gauge_renderer.h"
#include "render/panel_layout.h"
#include "sim/simulator.h"

namespace render {

// The module name by which panel files refer to this module's gauges.
inline constexpr std::string_view kModuleName = "Kesta_Avrion_0_018";

// The gauges of one loaded module, found by the names a panel file uses.
class GaugeDirectory {
public:
    GaugeDirectory(std::span<GAUGEHDR* const> gauges, std::string moduleName = std::string(kModuleName))
        : gauges_(gauges), moduleName_(std::move(moduleName)) {}

    // The gauge a placement names, or null when it names another module or a gauge this one lacks. Module names
    // are compared without regard to case, as file names on the simulator's system; gauge names exactly.
    const GAUGEHDR* Find(const GaugePlacement& placement) const;

private:
    std::span<GAUGEHDR* const> gauges_;
    std::string moduleName_;
};

// The size a window is drawn at: its size_mm, else the box from its top-left corner round its gauges.
Size WindowSize(const PanelWindow& window, const GaugeDirectory& gauges, GaugeRenderer& renderer);

// Where a gauge of the window lands on it and how it is scaled there: a click at a window point reaches the gauge at
// ((x - this.x) / scaleX, (y - this.y) / scaleY).
struct GaugeBox {
    const GAUGEHDR* gauge;
    double x, y, width, height;
    double scaleX, scaleY;
};
// The window's gauges that the module has, in drawing order (the last one is on top).
std::vector<GaugeBox> GaugeBoxes(const PanelWindow& window, const GaugeDirectory& gauges, GaugeRenderer& renderer);

// Draws the window whole, shown or not. A gauge that cannot be found is drawn as a labelled placeholder box (and
// warned about once).
Surface DrawWindow(const PanelWindow& window, const GaugeDirectory& gauges, GaugeRenderer& renderer);

// Turns the needles of every gauge of the window for this frame without drawing.
void UpdateWindow(const PanelWindow& window, const GaugeDirectory& gauges, GaugeRenderer& renderer);

// Hands every gauge the layout places its place, size and parameter string, as the simulator does when it creates
// the gauges of its windows (a gauge listed twice keeps its last line's).
void PlaceGauges(const PanelLayout& layout, const GaugeDirectory& gauges, GaugeRenderer& renderer, ModuleHost& host);

// The windows the simulator shows now, in layout order.
std::vector<const PanelWindow*> ShownWindows(const PanelLayout& layout, const Simulator& simulator);

}  // namespace render
