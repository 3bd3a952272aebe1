// Owning handles for cairo objects, and PNG output.
#pragma once

#include <cairo.h>

#include <memory>
#include <string>

namespace render {

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
    void operator()(cairo_t* context) const { cairo_destroy(context); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using Context = std::unique_ptr<cairo_t, ContextDeleter>;

// Largest side of any surface made here: well inside cairo's limit, and far beyond any panel.
inline constexpr int kLargestSide = 16384;

// A transparent ARGB surface; sides are clamped to 1 to kLargestSide. Never null (cairo hands back an error surface
// when memory runs out, which every later call ignores).
Surface MakeSurface(int width, int height);
Context MakeContext(cairo_surface_t* surface);

// Empty on success, otherwise what went wrong.
std::string WritePng(cairo_surface_t* surface, const std::string& path);

}  // namespace render
