// Every gauge of a module on one picture, each drawn once at its current values and labelled with its place in the
// module's gauge table, its name and its size: for looking the whole module over at a glance.
#pragma once

#include <span>

#include "frame/panel_records.h"
#include "render/gauge_renderer.h"

namespace render {

struct ContactSheetOptions {
    int sheetWidth = 1800;
    int largestCell = 600;  // a gauge larger than this either way is drawn smaller
};

Surface DrawContactSheet(std::span<GAUGEHDR* const> gauges, GaugeRenderer& renderer,
                         const ContactSheetOptions& options = {});

}  // namespace render
