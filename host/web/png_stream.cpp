#include "web/png_stream.h"

namespace web {
namespace {

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::string EncodePng(cairo_surface_t* surface) {
    std::string png;
    if (surface == nullptr || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return png;
    cairo_surface_flush(surface);
    if (cairo_surface_write_to_png_stream(surface, Append, &png) != CAIRO_STATUS_SUCCESS) png.clear();
    return png;
}

}  // namespace web
