#include "bitmap_file.hpp"

#include <FreeImage.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <set>
#include <vector>

#include "draw.hpp"

namespace avrion::artwork {

namespace {

struct DibDeleter {
    void operator()(FIBITMAP* dib) const { FreeImage_Unload(dib); }
};
using Dib = std::unique_ptr<FIBITMAP, DibDeleter>;

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};

// The darkest a visible pixel may be, in its brightest channel. Quantizing averages colours, so a palette entry
// made only of such pixels can never come out as the transparent 0, 0, 0 either.
constexpr int kDarkestVisible = 8;

struct Flattened {
    Dib rgb;                   // 24-bit opaque picture for the quantizer
    std::vector<bool> hidden;  // row-major from the top: pixel is transparent
};

Flattened Flatten(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    Flattened out{Dib(FreeImage_Allocate(w, h, 24)), std::vector<bool>(static_cast<std::size_t>(w) * h)};
    if (!out.rgb) return out;

    // Transparent pixels take the colour of some visible one, so the quantizer spends no palette entry on them.
    RGBQUAD fill{0x80, 0x80, 0x80, 0};
    bool haveFill = false;
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        BYTE* line = FreeImage_GetScanLine(out.rgb.get(), h - 1 - y);  // FreeImage rows run bottom-up
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = row[x];
            const unsigned a = p >> 24;
            BYTE* px = line + x * 3;
            if (a < 128) {
                out.hidden[static_cast<std::size_t>(y) * w + x] = true;
                continue;
            }
            // Cairo stores premultiplied colour; undo it for the pixel's own colour.
            auto channel = [&](int shift) { return static_cast<int>((((p >> shift) & 0xff) * 255 + a / 2) / a); };
            int r = std::min(255, channel(16)), g = std::min(255, channel(8)), b = std::min(255, channel(0));
            if (std::max({r, g, b}) < kDarkestVisible) r = g = b = kDarkestVisible;
            px[FI_RGBA_RED] = static_cast<BYTE>(r);
            px[FI_RGBA_GREEN] = static_cast<BYTE>(g);
            px[FI_RGBA_BLUE] = static_cast<BYTE>(b);
            if (!haveFill) {
                fill = {static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r), 0};
                haveFill = true;
            }
        }
    }
    for (int y = 0; y < h; ++y) {
        BYTE* line = FreeImage_GetScanLine(out.rgb.get(), h - 1 - y);
        for (int x = 0; x < w; ++x) {
            if (!out.hidden[static_cast<std::size_t>(y) * w + x]) continue;
            line[x * 3 + FI_RGBA_RED] = fill.rgbRed;
            line[x * 3 + FI_RGBA_GREEN] = fill.rgbGreen;
            line[x * 3 + FI_RGBA_BLUE] = fill.rgbBlue;
        }
    }
    return out;
}

}  // namespace

WriteResult WritePalettised(cairo_surface_t* surface, int bits, const std::filesystem::path& path) {
    WriteResult result;
    if (bits != 8 && bits != 4) {
        result.error = "unsupported depth " + std::to_string(bits);
        return result;
    }
    Flattened flat = Flatten(surface);
    if (!flat.rgb) {
        result.error = "out of memory";
        return result;
    }
    const int entries = 1 << bits, key = entries - 1;

    // One entry is kept back for the transparent colour. The lossless quantizer keeps every colour exactly when
    // there are few enough; gradients and anti-aliased lettering go to Wu's quantizer.
    Dib indexed(FreeImage_ColorQuantizeEx(flat.rgb.get(), FIQ_LFPQUANT, key, 0, nullptr));
    if (!indexed) indexed.reset(FreeImage_ColorQuantizeEx(flat.rgb.get(), FIQ_WUQUANT, key, 0, nullptr));
    if (!indexed || FreeImage_GetBPP(indexed.get()) != 8) {
        result.error = "colour quantization failed";
        return result;
    }

    const unsigned w = FreeImage_GetWidth(indexed.get()), h = FreeImage_GetHeight(indexed.get());
    Dib out(FreeImage_Allocate(static_cast<int>(w), static_cast<int>(h), bits));
    if (!out) {
        result.error = "out of memory";
        return result;
    }
    const RGBQUAD* from = FreeImage_GetPalette(indexed.get());
    RGBQUAD* to = FreeImage_GetPalette(out.get());
    for (int i = 0; i < entries; ++i) to[i] = i < key ? from[i] : RGBQUAD{0, 0, 0, 0};
    std::set<int> used;
    std::size_t hidden = 0;
    for (unsigned y = 0; y < h; ++y) {
        for (unsigned x = 0; x < w; ++x) {
            BYTE index = 0;
            FreeImage_GetPixelIndex(indexed.get(), x, y, &index);
            const bool isHidden = flat.hidden[static_cast<std::size_t>(h - 1 - y) * w + x];
            if (isHidden) {
                index = static_cast<BYTE>(key);
                ++hidden;
            } else if (index >= key || (from[index].rgbRed | from[index].rgbGreen | from[index].rgbBlue) == 0) {
                // A visible pixel must never land on the transparent colour; the quantizer broke its promise.
                result.error = "visible pixel quantized to the transparent colour";
                return result;
            }
            FreeImage_SetPixelIndex(out.get(), x, y, &index);
            used.insert(index);
        }
    }
    // Entries no pixel uses are cleared, so the palette holds nothing but the picture's own colours.
    for (int i = 0; i < entries; ++i) {
        if (used.count(i) == 0) to[i] = RGBQUAD{0, 0, 0, 0};
    }
    if (!FreeImage_Save(FIF_BMP, out.get(), path.string().c_str(), BMP_DEFAULT)) {
        result.error = "cannot write " + path.string();
        return result;
    }
    result.ok = true;
    result.colours = static_cast<int>(used.size());
    result.transparentShare = static_cast<double>(hidden) / (static_cast<double>(w) * h);
    return result;
}

bool WriteContactSheet(std::span<const Bitmap> bitmaps, const std::filesystem::path& folder,
                       const std::filesystem::path& png, int zoom, std::string* error) {
    struct Tile {
        const Bitmap* b;
        double x, y;
    };
    // Shelf packing in inventory order, rows as wide as the widest picture or 1800 pixels.
    const double gap = 10, label = 16;
    double sheetW = 1800;
    for (const Bitmap& b : bitmaps) sheetW = std::max(sheetW, b.width * zoom + 2 * gap);
    std::vector<Tile> tiles;
    double x = gap, y = gap, rowH = 0;
    for (const Bitmap& b : bitmaps) {
        const double tw = std::max<double>(b.width * zoom, 34), th = b.height * zoom + label;
        if (x + tw + gap > sheetW) x = gap, y += rowH + gap, rowH = 0;
        tiles.push_back({&b, x, y});
        x += tw + gap;
        rowH = std::max(rowH, th);
    }
    const int sheetH = static_cast<int>(y + rowH + gap);

    std::unique_ptr<cairo_surface_t, SurfaceDeleter> sheet(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(sheetW), sheetH));
    std::unique_ptr<cairo_t, ContextDeleter> cr(cairo_create(sheet.get()));
    FillRect(cr.get(), 0, 0, sheetW, sheetH, Hex(0x505058));

    for (const Tile& t : tiles) {
        const std::filesystem::path file = folder / (std::to_string(t.b->id) + ".bmp");
        Dib dib(FreeImage_Load(FIF_BMP, file.string().c_str(), BMP_DEFAULT));
        if (!dib) {
            *error = "cannot read " + file.string();
            return false;
        }
        Dib rgb(FreeImage_ConvertTo24Bits(dib.get()));
        const int w = static_cast<int>(FreeImage_GetWidth(rgb.get())),
                  h = static_cast<int>(FreeImage_GetHeight(rgb.get()));
        std::unique_ptr<cairo_surface_t, SurfaceDeleter> pic(cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h));
        unsigned char* data = cairo_image_surface_get_data(pic.get());
        const int stride = cairo_image_surface_get_stride(pic.get());
        for (int py = 0; py < h; ++py) {
            const BYTE* line = FreeImage_GetScanLine(rgb.get(), h - 1 - py);
            auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(py) * stride);
            for (int px = 0; px < w; ++px) {
                const unsigned r = line[px * 3 + FI_RGBA_RED], g = line[px * 3 + FI_RGBA_GREEN],
                               b = line[px * 3 + FI_RGBA_BLUE];
                const bool check = ((px / 4) + (py / 4)) % 2 == 0;
                row[px] = (r | g | b) == 0 ? (check ? 0xc8c8ccu : 0xa0a0a6u) : (r << 16) | (g << 8) | b;
            }
        }
        cairo_surface_mark_dirty(pic.get());
        cairo_save(cr.get());
        cairo_translate(cr.get(), t.x, t.y);
        cairo_scale(cr.get(), zoom, zoom);
        cairo_set_source_surface(cr.get(), pic.get(), 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr.get()), CAIRO_FILTER_NEAREST);
        cairo_paint(cr.get());
        cairo_restore(cr.get());
        Text(cr.get(), std::to_string(t.b->id), t.x, t.y + t.b->height * zoom + label / 2 + 1,
             {.px = 11, .weight = Weight::kBold}, Hex(0xffffff), Align::kLeft);
    }
    if (cairo_surface_write_to_png(sheet.get(), png.string().c_str()) != CAIRO_STATUS_SUCCESS) {
        *error = "cannot write " + png.string();
        return false;
    }
    return true;
}

}  // namespace avrion::artwork
