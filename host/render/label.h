// Short lines of text the renderer adds of its own (placeholders, captions), set with Pango in a sans-serif face.
#pragma once

#include <cairo.h>

#include <string>

namespace render {

struct LabelStyle {
    double sizePx = 12.0;
    double red = 1.0, green = 1.0, blue = 1.0;
    bool bold = false;
};

// Draws the text with its top-left corner at x, y and returns its width and height in pixels.
struct LabelExtent {
    double width = 0.0;
    double height = 0.0;
};
LabelExtent DrawLabel(cairo_t* cr, const std::string& text, double x, double y, const LabelStyle& style);
// The size the text would take, drawing nothing.
LabelExtent MeasureLabel(cairo_t* cr, const std::string& text, const LabelStyle& style);

}  // namespace render

namespace render {

// Hands back the caches the font libraries keep for the life of the process, so that a leak checker run at exit
// sees only the program's own leaks. Call it last, once nothing is drawn any more.
void ReleaseFontCaches();

}  // namespace render
