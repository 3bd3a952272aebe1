// A cairo surface as PNG bytes in memory, for answers sent over HTTP.
#pragma once

#include <cairo.h>

#include <string>

namespace web {

// Empty when the surface cannot be encoded.
std::string EncodePng(cairo_surface_t* surface);

}  // namespace web
