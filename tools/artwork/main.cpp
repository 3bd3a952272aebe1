// avrion-artwork: draws every bitmap resource of the module, one "<id>.bmp" per entry of the inventory.
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
#include "cli/command_line.h"
#include "inventory.hpp"
#include "painters.hpp"

namespace {

namespace fs = std::filesystem;
using namespace avrion::artwork;

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
    CLI::App app{"Draws every bitmap resource of the module, one <id>.bmp per entry of the inventory, into the "
                 "folder (module/resources/bitmaps holds the committed ones).",
                 "avrion-artwork"};
    command_line::Describe(app);
    std::string folderName, sheetName;
    int zoom = 1;
    app.add_option("OUTPUT_FOLDER", folderName, "where the bitmaps go")->required();
    auto* sheetOption =
        app.add_option("--contact-sheet", sheetName, "also draw every bitmap onto one PNG")->type_name("PNG");
    app.add_option("--zoom", zoom, "scale of the contact sheet")
        ->type_name("N")
        ->check(CLI::Range(1, 16))
        ->needs(sheetOption)
        ->capture_default_str();
    if (const auto status = command_line::Parse(app, argc, argv)) return *status;
    const fs::path folder = folderName;
    const fs::path sheet = sheetName;
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
