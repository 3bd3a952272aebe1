#include "web/panel_pointer.h"

#include <algorithm>
#include <cstdio>

#include "sim/gauge_access.h"

namespace web {

MouseResult PanelPointer::Mouse(const render::PanelLayout& layout, WindowTiles& tiles, const Simulator& simulator,
                                std::uint32_t ident, double x, double y, MouseAction action) {
    MouseResult result;
    if ((action == MouseAction::kRelease || action == MouseAction::kLeave) && pointer_.held()) {
        const GAUGEHDR* gauge = pointer_.held()->gauge;
        result.gauge = gauge->name != nullptr ? gauge->name : "";
        result.area = heldArea_;
        result.delivered = action == MouseAction::kLeave ? pointer_.Leave() : pointer_.Release();
        result.letGo = true;
        return result;
    }
    if (action == MouseAction::kLeave) return result;  // nothing held: the pointer only passed by
    const render::PanelWindow* window = layout.FindByIdent(ident);
    if (window == nullptr) {
        result.error = "no window " + std::to_string(ident) + " in the layout";
        return result;
    }
    if (!simulator.IsWindowShown(ident)) {
        result.error = "window " + std::to_string(ident) + " is not shown";
        return result;
    }
    const auto boxes = tiles.GaugeBoxes(*window);
    for (auto box = boxes.rbegin(); box != boxes.rend(); ++box) {
        if (x < box->x || y < box->y || x >= box->x + box->width || y >= box->y + box->height) continue;
        const int gaugeX = static_cast<int>((x - box->x) / box->scaleX);
        const int gaugeY = static_cast<int>((y - box->y) / box->scaleY);
        const auto area = gauge_access::AreaAt(box->gauge, gaugeX, gaugeY);
        if (!area) continue;  // a gauge beneath may have an area here
        const auto areas = gauge_access::ChildAreas(box->gauge);
        result.gauge = box->gauge->name != nullptr ? box->gauge->name : "";
        result.area = static_cast<int>(
            std::find_if(areas.begin(), areas.end(), [&](const auto& a) { return a.rect == area->rect; }) -
            areas.begin() + 1);
        result.x = gaugeX;
        result.y = gaugeY;
        const Pointer::Target target{box->gauge, gaugeX, gaugeY};
        result.delivered = action == MouseAction::kPress ? pointer_.Press(target)
                           : action == MouseAction::kRight ? pointer_.Click(target, mouse_flag::kRightSingle)
                                                           : pointer_.Click(target, mouse_flag::kLeftRelease);
        if (action == MouseAction::kPress) heldArea_ = result.area;
        return result;
    }
    char point[64];
    std::snprintf(point, sizeof point, "(%.0f, %.0f)", x, y);
    result.error = "no mouse area at " + std::string(point) + " of window " + std::to_string(ident);
    return result;
}

}  // namespace web
