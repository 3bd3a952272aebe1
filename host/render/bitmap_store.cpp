#include "render/bitmap_store.h"

#include <FreeImage.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "render/label.h"

namespace render {
namespace {

struct DibDeleter {
    void operator()(FIBITMAP* dib) const { FreeImage_Unload(dib); }
};
using Dib = std::unique_ptr<FIBITMAP, DibDeleter>;

std::string FileOf(const std::string& folder, std::int64_t id) {
    return (std::filesystem::path(folder) / (std::to_string(id) + ".bmp")).string();
}

// Every depth the simulator accepts (8 bits, and 4 for the logic gauge's pixel) as 24-bit colour, so that the
// transparent colour is tested on the colour itself whatever the palette.
Surface ToSurface(FIBITMAP* picture) {
    Dib rgb(FreeImage_ConvertTo24Bits(picture));
    if (!rgb) return nullptr;
    const int width = static_cast<int>(FreeImage_GetWidth(rgb.get()));
    const int height = static_cast<int>(FreeImage_GetHeight(rgb.get()));
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    cairo_surface_flush(surface.get());
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < height; ++y) {
        // FreeImage keeps rows bottom-up.
        const BYTE* line = FreeImage_GetScanLine(rgb.get(), height - 1 - y);
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < width; ++x) {
            const BYTE* pixel = line + static_cast<std::size_t>(x) * 3;
            const std::uint8_t red = pixel[FI_RGBA_RED], green = pixel[FI_RGBA_GREEN], blue = pixel[FI_RGBA_BLUE];
            // Opaque pixels need no premultiplying; transparent ones are all zero.
            row[x] = IsTransparentColour(red, green, blue)
                         ? 0u
                         : 0xFF000000u | (std::uint32_t{red} << 16) | (std::uint32_t{green} << 8) | blue;
        }
    }
    cairo_surface_mark_dirty(surface.get());
    return surface;
}

}  // namespace

Bitmap PlaceholderBitmap(std::int64_t id, int width, int height) {
    Bitmap bitmap;
    bitmap.surface = MakeSurface(width, height);
    bitmap.width = cairo_image_surface_get_width(bitmap.surface.get());
    bitmap.height = cairo_image_surface_get_height(bitmap.surface.get());
    bitmap.placeholder = true;

    Context cr = MakeContext(bitmap.surface.get());
    cairo_set_source_rgb(cr.get(), 0.25, 0.0, 0.25);
    cairo_paint(cr.get());
    // Diagonal hatching both ways, so that the placeholder cannot pass for any real picture.
    constexpr double kHatchSpacing = 8.0;
    cairo_set_source_rgb(cr.get(), 1.0, 0.0, 1.0);
    cairo_set_line_width(cr.get(), 2.0);
    const double span = bitmap.width + bitmap.height;
    for (double d = -span; d <= span; d += kHatchSpacing) {
        cairo_move_to(cr.get(), d, 0);
        cairo_line_to(cr.get(), d + bitmap.height, bitmap.height);
        cairo_move_to(cr.get(), d, bitmap.height);
        cairo_line_to(cr.get(), d + bitmap.height, 0);
    }
    cairo_stroke(cr.get());
    cairo_rectangle(cr.get(), 1, 1, bitmap.width - 2, bitmap.height - 2);
    cairo_stroke(cr.get());

    const std::string text = std::to_string(id);
    LabelStyle style{.sizePx = 11.0, .red = 1.0, .green = 1.0, .blue = 1.0, .bold = true};
    const LabelExtent extent = MeasureLabel(cr.get(), text, style);
    const double x = std::max(0.0, (bitmap.width - extent.width) / 2),
                 y = std::max(0.0, (bitmap.height - extent.height) / 2);
    cairo_set_source_rgb(cr.get(), 0.0, 0.0, 0.0);
    cairo_rectangle(cr.get(), x - 2, y, extent.width + 4, extent.height);
    cairo_fill(cr.get());
    DrawLabel(cr.get(), text, x, y, style);
    cairo_surface_flush(bitmap.surface.get());
    return bitmap;
}

BitmapStore::BitmapStore(std::string folder, WarningSink warnings)
    : folder_(std::move(folder)), warnings_(std::move(warnings)) {}

const Bitmap& BitmapStore::Get(std::int64_t id) {
    auto found = bitmaps_.find(id);
    if (found == bitmaps_.end()) found = bitmaps_.emplace(id, Load(id)).first;
    return found->second;
}

Bitmap BitmapStore::Load(std::int64_t id) {
    const std::string file = FileOf(folder_, id);
    std::string problem;
    Bitmap bitmap;
    std::error_code error;
    if (id < 0) {
        problem = "bitmap " + std::to_string(id) + " has no file (negative id)";
    } else if (!std::filesystem::is_regular_file(file, error)) {
        problem = "bitmap " + std::to_string(id) + ": " + file + " is missing";
    } else if (Dib picture(FreeImage_Load(FIF_BMP, file.c_str(), BMP_DEFAULT)); !picture) {
        problem = "bitmap " + std::to_string(id) + ": " + file + " is not a readable BMP file";
    } else if (FreeImage_GetWidth(picture.get()) > kLargestSide || FreeImage_GetHeight(picture.get()) > kLargestSide) {
        problem = "bitmap " + std::to_string(id) + ": " + file + " is larger than " + std::to_string(kLargestSide) +
                  " pixels a side";
    } else if (Surface surface = ToSurface(picture.get()); !surface) {
        problem = "bitmap " + std::to_string(id) + ": " + file + " cannot be converted";
    } else {
        bitmap.width = cairo_image_surface_get_width(surface.get());
        bitmap.height = cairo_image_surface_get_height(surface.get());
        bitmap.surface = std::move(surface);
        return bitmap;
    }
    if (warnings_) warnings_(problem + "; drawn as a placeholder");
    return PlaceholderBitmap(id);
}

}  // namespace render
