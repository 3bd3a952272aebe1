// Turning a drawn surface into the module's palettised BMP files, and a contact sheet of the files written.
#pragma once

#include <cairo.h>

#include <filesystem>
#include <span>
#include <string>

#include "inventory.hpp"

namespace avrion::artwork {

struct WriteResult {
    bool ok = false;
    std::string error;
    int colours = 0;              // palette entries that pixels use, the transparent colour included
    double transparentShare = 0;  // fraction of pixels that are transparent
};

// Writes the ARGB32 surface as a Windows BMP of the given depth (8 or 4 bits per pixel). A pixel less than half
// covered becomes the transparent colour 0, 0, 0; every other pixel keeps its colour, lifted off pure black so it
// can never read as transparent, and the colours are reduced to the palette with FreeImage's quantizers.
WriteResult WritePalettised(cairo_surface_t* surface, int bits, const std::filesystem::path& path);

// Draws the written files of the given bitmaps onto one PNG, each labelled with its id; transparent pixels show as a
// checkerboard. zoom enlarges every picture by a whole factor.
bool WriteContactSheet(std::span<const Bitmap> bitmaps, const std::filesystem::path& folder,
                       const std::filesystem::path& png, int zoom, std::string* error);

}  // namespace avrion::artwork
