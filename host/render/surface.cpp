#include "render/surface.h"

#include <algorithm>

namespace render {

Surface MakeSurface(int width, int height) {
    return Surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::clamp(width, 1, kLargestSide),
                                              std::clamp(height, 1, kLargestSide)));
}

Context MakeContext(cairo_surface_t* surface) { return Context(cairo_create(surface)); }

std::string WritePng(cairo_surface_t* surface, const std::string& path) {
    if (surface == nullptr) return "no picture to write to " + path;
    if (cairo_status_t status = cairo_surface_status(surface); status != CAIRO_STATUS_SUCCESS)
        return "cannot draw the picture for " + path + ": " + cairo_status_to_string(status);
    cairo_surface_flush(surface);
    if (cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str()); status != CAIRO_STATUS_SUCCESS)
        return "cannot write " + path + ": " + cairo_status_to_string(status);
    return std::string();
}

}  // namespace render
