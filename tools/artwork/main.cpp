// avrion-artwork: draws every bitmap resource of the module, one "<id>.bmp" per entry of the inventory.
//
//   avrion-artwork OUTPUT_FOLDER [--contact-sheet PNG [--zoom N]]
//
// The files are committed under module/resources/bitmaps; run this by hand when the artwork changes. The output is
// the same byte for byte from run to run on one machine (fonts and library versions can move pixels between
// machines).
#include <FreeImage.h>
#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

#include "bitmap_file.hpp"
#include "inventory.hpp"
#include "painters.hpp"

namespace {

namespace fs = std::filesystem;
using namespace avrion::artwork;

int Usage() {
    std::fprintf(stderr, "usage: avrion-artwork OUTPUT_FOLDER [--contact-sheet PNG [--zoom N]]\n");
    return 2;
}

// A duplicate id would make one picture silently replace another.
bool InventoryIsSound() {
    std::set<int> ids;
    for (const Bitmap& b : kBitmaps) {
        if (!ids.insert(b.id).second || b.width <= 0 || b.height <= 0 || (b.bits != 8 && b.bits != 4)) {
            std::fprintf(stderr, "avrion-artwork: bad inventory entry %d\n", b.id);
            return false;
        }
    }
    return true;
}

bool Draw(const Bitmap& b, const fs::path& folder, std::size_t* bytes) {
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, b.width, b.height), &cairo_surface_destroy);
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "avrion-artwork: %d: cannot create a %dx%d surface\n", b.id, b.width, b.height);
        return false;
    }
    {
        std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr(cairo_create(surface.get()), &cairo_destroy);
        try {
            Paint(cr.get(), b);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "avrion-artwork: %d: %s\n", b.id, e.what());
            return false;
        }
        if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
            std::fprintf(stderr, "avrion-artwork: %d: drawing failed: %s\n", b.id,
                         cairo_status_to_string(cairo_status(cr.get())));
            return false;
        }
    }
    const fs::path file = folder / (std::to_string(b.id) + ".bmp");
    const WriteResult r = WritePalettised(surface.get(), b.bits, file);
    if (!r.ok) {
        std::fprintf(stderr, "avrion-artwork: %d: %s\n", b.id, r.error.c_str());
        return false;
    }
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec) {
        std::fprintf(stderr, "avrion-artwork: %d: %s\n", b.id, ec.message().c_str());
        return false;
    }
    *bytes += size;
    std::printf("%5d.bmp %4dx%-4d %d bpp %3d colours %3.0f%% transparent %7ju bytes  %.*s\n", b.id, b.width, b.height,
                b.bits, r.colours, r.transparentShare * 100.0, size, static_cast<int>(b.shows.size()), b.shows.data());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const fs::path folder = argv[1];
    fs::path sheet;
    int zoom = 1;
    for (int i = 2; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--contact-sheet" && i + 1 < argc) {
            sheet = argv[++i];
        } else if (arg == "--zoom" && i + 1 < argc) {
            char* end = nullptr;
            const long z = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || z < 1 || z > 16) return Usage();
            zoom = static_cast<int>(z);
        } else {
            return Usage();
        }
    }
    if (!InventoryIsSound()) return 1;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        std::fprintf(stderr, "avrion-artwork: %s: %s\n", folder.string().c_str(), ec.message().c_str());
        return 1;
    }

    FreeImage_Initialise(FALSE);
    bool ok = true;
    std::size_t bytes = 0;
    for (const Bitmap& b : kBitmaps) ok = Draw(b, folder, &bytes) && ok;
    if (ok) std::printf("%zu bitmaps, %zu bytes in %s\n", kBitmaps.size(), bytes, folder.string().c_str());
    if (ok && !sheet.empty()) {
        std::string error;
        if (!WriteContactSheet(kBitmaps, folder, sheet, zoom, &error)) {
            std::fprintf(stderr, "avrion-artwork: %s\n", error.c_str());
            ok = false;
        }
    }
    FreeImage_DeInitialise();
    return ok ? 0 : 1;
}
