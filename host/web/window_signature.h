// What a window's picture depends on, as bytes: every element's flags and
// place, each icon's picture, each needle's angle and each text with its
// colours. Two frames with the same signature draw the same pixels, so a
// window whose signature stands is not drawn again.
#pragma once

#include <string>

#include "render/gauge_renderer.h"
#include "render/panel_layout.h"
#include "render/window_drawing.h"

namespace web {

// Turns the window's needles for this frame first (as drawing would), so the
// angles are this frame's.
std::string WindowSignature(const render::PanelWindow& window, const render::GaugeDirectory& gauges,
                            render::GaugeRenderer& renderer);

}  // namespace web
