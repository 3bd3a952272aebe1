// Draws a gauge as the simulator does: its element tree in chain order (every element before its children), each at
// the value its callback gives now. Static images and icons are bitmaps; needles are bitmaps drawn pointing to the
// right and turned about their pivot, at most their largest turn per frame; strings are text in a box.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

#include "frame/panel_records.h"
#include "render/bitmap_store.h"
#include "render/string_element.h"
#include "render/surface.h"
#include "render/warnings.h"

namespace render {

struct Size {
    int width = 0;
    int height = 0;
};

// The gauge's elements, each before its children; an element reached twice (a malformed tree) is listed once.
std::vector<ELEMENT_HEADER*> ChainOrder(const GAUGEHDR* gauge);

class GaugeRenderer {
public:
    explicit GaugeRenderer(BitmapStore& bitmaps, WarningSink warnings = StderrWarnings());
    GaugeRenderer(const GaugeRenderer&) = delete;
    GaugeRenderer& operator=(const GaugeRenderer&) = delete;

    // Starts the next frame. A needle turns toward its value at most once per frame, however often its gauge is
    // drawn in it; call this once for every simulator frame.
    void BeginFrame() { ++frame_; }

    // The gauge's size: that of its background, the root of its element tree.
    Size GaugeSize(const GAUGEHDR* gauge);
    // Whether every element of the gauge is hidden (nothing of it would show).
    bool IsHidden(const GAUGEHDR* gauge) const;

    // Turns the gauge's needles for this frame without drawing, for a gauge on a shown window whose picture is not
    // wanted this frame.
    void Update(const GAUGEHDR* gauge);
    // Draws the gauge with the top-left corner of its background at the context's origin.
    void Draw(cairo_t* cr, const GAUGEHDR* gauge);
    // The gauge alone, on a transparent surface of its size.
    Surface DrawGauge(const GAUGEHDR* gauge);

    // The needle's angle as last drawn (degrees clockwise from +x), if it has been.
    std::optional<double> NeedleAngleOf(const ELEMENT_HEADER* needle) const;
    // Forgets every needle: after a module is loaded again its records may be elsewhere.
    void Reset() { needles_.clear(); }

    BitmapStore& bitmaps() { return bitmaps_; }
    FontChooser& fonts() { return fonts_; }
    // Passes a warning on the first time it is given.
    void WarnOnce(const std::string& warning);

private:
    struct NeedleState {
        double angleDegrees;
        std::uint64_t frame;  // when it last turned
    };

    double TurnNeedle(ELEMENT_NEEDLE* needle);
    void DrawElement(cairo_t* cr, ELEMENT_HEADER* element);
    void DrawBitmap(cairo_t* cr, const Bitmap& bitmap, double x, double y, std::uint32_t imageFlags);
    void DrawNeedle(cairo_t* cr, ELEMENT_NEEDLE* needle);

    BitmapStore& bitmaps_;
    WarningSink warnings_;
    FontChooser fonts_;
    std::uint64_t frame_ = 0;
    std::unordered_map<const ELEMENT_HEADER*, NeedleState> needles_;
    std::set<std::string> warned_;
};

}  // namespace render
