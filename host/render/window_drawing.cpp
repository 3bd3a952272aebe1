#include "render/window_drawing.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "render/label.h"

namespace render {
namespace {

constexpr int kPlaceholderSide = 40;

bool SameModuleName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

// Where and how large the gauge lands on the window: its background's size unless the layout gives one; a width
// alone keeps the background's proportions.
struct Placement {
    double x, y, width, height;
    double scaleX, scaleY;
};

Placement Place(const GaugePlacement& placement, Size natural) {
    Placement place{static_cast<double>(placement.x), static_cast<double>(placement.y), 0, 0, 1, 1};
    const double naturalWidth = std::max(natural.width, 1), naturalHeight = std::max(natural.height, 1);
    place.width = placement.width ? *placement.width : naturalWidth;
    if (placement.height)
        place.height = *placement.height;
    else if (placement.width)
        place.height = std::round(*placement.width * naturalHeight / naturalWidth);
    else
        place.height = naturalHeight;
    place.scaleX = place.width / naturalWidth;
    place.scaleY = place.height / naturalHeight;
    return place;
}

Size PlaceholderSize(const GaugePlacement& placement) {
    const int width = placement.width.value_or(kPlaceholderSide);
    return {width, placement.height.value_or(placement.width ? width : kPlaceholderSide)};
}

void DrawMissingGauge(cairo_t* cr, const GaugePlacement& placement) {
    const Size size = PlaceholderSize(placement);
    cairo_save(cr);
    cairo_rectangle(cr, placement.x, placement.y, size.width, size.height);
    cairo_clip_preserve(cr);
    cairo_set_source_rgba(cr, 1.0, 0.0, 1.0, 0.25);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 1.0, 0.0, 1.0);
    cairo_set_line_width(cr, 2.0);
    cairo_stroke(cr);
    DrawLabel(cr, placement.module + "!" + placement.gauge, placement.x + 3, placement.y + 2,
              {.sizePx = 11.0, .red = 1.0, .green = 0.6, .blue = 1.0, .bold = true});
    cairo_restore(cr);
}

}  // namespace

const GAUGEHDR* GaugeDirectory::Find(const GaugePlacement& placement) const {
    if (!SameModuleName(placement.module, moduleName_)) return nullptr;
    for (const GAUGEHDR* gauge : gauges_)
        if (gauge != nullptr && gauge->name != nullptr && placement.gauge == gauge->name) return gauge;
    return nullptr;
}

Size WindowSize(const PanelWindow& window, const GaugeDirectory& gauges, GaugeRenderer& renderer) {
    if (window.width && window.height) return {*window.width, *window.height};
    double right = 1, bottom = 1;
    for (const GaugePlacement& placement : window.gauges) {
        const GAUGEHDR* gauge = gauges.Find(placement);
        const Size natural = gauge != nullptr ? renderer.GaugeSize(gauge) : PlaceholderSize(placement);
        const Placement place = Place(placement, natural);
        right = std::max(right, place.x + place.width);
        bottom = std::max(bottom, place.y + place.height);
    }
    return {static_cast<int>(std::min<double>(std::ceil(right), kLargestSide)),
            static_cast<int>(std::min<double>(std::ceil(bottom), kLargestSide))};
}

std::vector<GaugeBox> GaugeBoxes(const PanelWindow& window, const GaugeDirectory& gauges, GaugeRenderer& renderer) {
    std::vector<GaugeBox> boxes;
    for (const GaugePlacement& placement : window.gauges) {
        const GAUGEHDR* gauge = gauges.Find(placement);
        if (gauge == nullptr) continue;
        const Placement place = Place(placement, renderer.GaugeSize(gauge));
        boxes.push_back({gauge, place.x, place.y, place.width, place.height, place.scaleX, place.scaleY});
    }
    return boxes;
}

Surface DrawWindow(const PanelWindow& window, const GaugeDirectory& gauges, GaugeRenderer& renderer) {
    const Size size = WindowSize(window, gauges, renderer);
    Surface surface = MakeSurface(size.width, size.height);
    Context cr = MakeContext(surface.get());
    cairo_set_source_rgb(cr.get(), ((window.backgroundRgb >> 16) & 0xFF) / 255.0,
                         ((window.backgroundRgb >> 8) & 0xFF) / 255.0, (window.backgroundRgb & 0xFF) / 255.0);
    cairo_paint(cr.get());

    for (const GaugePlacement& placement : window.gauges) {
        const GAUGEHDR* gauge = gauges.Find(placement);
        if (gauge == nullptr) {
            renderer.WarnOnce("window " + std::to_string(window.ident) + ": no gauge " + placement.module + "!" +
                              placement.gauge + " (line " + std::to_string(placement.line) +
                              "); drawn as a placeholder");
            DrawMissingGauge(cr.get(), placement);
            continue;
        }
        const Placement place = Place(placement, renderer.GaugeSize(gauge));
        cairo_save(cr.get());
        cairo_translate(cr.get(), place.x, place.y);
        cairo_scale(cr.get(), place.scaleX, place.scaleY);
        renderer.Draw(cr.get(), gauge);
        cairo_restore(cr.get());
    }
    cairo_surface_flush(surface.get());
    return surface;
}

void UpdateWindow(const PanelWindow& window, const GaugeDirectory& gauges, GaugeRenderer& renderer) {
    for (const GaugePlacement& placement : window.gauges)
        if (const GAUGEHDR* gauge = gauges.Find(placement)) renderer.Update(gauge);
}

void PlaceGauges(const PanelLayout& layout, const GaugeDirectory& gauges, GaugeRenderer& renderer, ModuleHost& host) {
    for (const PanelWindow& window : layout.windows)
        for (const GaugePlacement& placement : window.gauges) {
            const GAUGEHDR* gauge = gauges.Find(placement);
            if (gauge == nullptr) continue;
            const Placement place = Place(placement, renderer.GaugeSize(gauge));
            host.PlaceGauge(gauge->name, {.position = {placement.x, placement.y},
                                          .size = {static_cast<std::int32_t>(std::lround(place.width)),
                                                   static_cast<std::int32_t>(std::lround(place.height))},
                                          .parameters = placement.parameters});
        }
}

std::vector<const PanelWindow*> ShownWindows(const PanelLayout& layout, const Simulator& simulator) {
    std::vector<const PanelWindow*> shown;
    for (const PanelWindow& window : layout.windows)
        if (simulator.IsWindowShown(window.ident)) shown.push_back(&window);
    return shown;
}

}  // namespace render
