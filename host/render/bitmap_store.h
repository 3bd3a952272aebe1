// The module's bitmaps as the simulator holds them: read once from <folder>/<id>.bmp and kept as cairo surfaces,
// with the transparent colour (pure black) made transparent.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "render/surface.h"
#include "render/warnings.h"

namespace render {

struct Bitmap {
    Surface surface;  // premultiplied ARGB
    int width = 0;
    int height = 0;
    bool placeholder = false;  // the file was missing or unreadable
};

class BitmapStore {
public:
    // Side of the square drawn for a bitmap that cannot be read.
    static constexpr int kPlaceholderSide = 48;

    explicit BitmapStore(std::string folder, WarningSink warnings = StderrWarnings());
    BitmapStore(const BitmapStore&) = delete;
    BitmapStore& operator=(const BitmapStore&) = delete;

    // The bitmap with this resource id, read on first use. A missing or unreadable file gives a magenta
    // cross-hatched placeholder showing the id, and one warning per id.
    const Bitmap& Get(std::int64_t id);

    const std::string& folder() const { return folder_; }

private:
    Bitmap Load(std::int64_t id);

    std::string folder_;
    WarningSink warnings_;
    std::map<std::int64_t, Bitmap> bitmaps_;
};

// The transparent colour of the simulator's bitmaps.
constexpr bool IsTransparentColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return red == 0 && green == 0 && blue == 0;
}

// The placeholder for a bitmap that cannot be read: magenta hatching with the id written across it.
Bitmap PlaceholderBitmap(std::int64_t id, int width = BitmapStore::kPlaceholderSide,
                         int height = BitmapStore::kPlaceholderSide);

}  // namespace render
