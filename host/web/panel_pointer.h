// The page's mouse on the panel's windows: a point of a shown window (window
// pixels) finds the topmost gauge with a mouse area there, through the host's
// mouse-area walk, and the pointer delivers the event to it. A press holds the
// button until release or leave, which go where it went down, as the
// simulator keeps the held area.
#pragma once

#include <cstdint>
#include <string>

#include "render/panel_layout.h"
#include "sim/pointer.h"
#include "sim/simulator.h"
#include "web/window_tiles.h"

namespace web {

enum class MouseAction { kPress, kRelease, kLeave, kRight };

struct MouseResult {
    std::string error;  // empty when the event was taken
    std::string gauge;
    int area = 0;            // 1 = the gauge's first child area
    bool delivered = false;  // a handler ran
    int x = 0, y = 0;        // the point in gauge pixels (a press)
    bool letGo = false;      // a held button was released or left
};

class PanelPointer {
public:
    MouseResult Mouse(const render::PanelLayout& layout, WindowTiles& tiles, const Simulator& simulator,
                      std::uint32_t ident, double x, double y, MouseAction action);
    void BeforeFrame() { pointer_.BeforeFrame(); }
    // Forgets the held button (its module is going).
    void Drop() { pointer_.Drop(); }

private:
    Pointer pointer_;
    int heldArea_ = 0;
};

}  // namespace web
