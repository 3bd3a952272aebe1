// The shipped bitmap resources against the artwork inventory: every picture there, at its size and depth.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "../../tools/artwork/inventory.hpp"

namespace {

struct BmpHeader {
    bool valid = false;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bits = 0;
};

// The file header (14 bytes) and the start of the BITMAPINFOHEADER; little-endian fields.
BmpHeader ReadHeader(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::array<unsigned char, 30> h{};
    if (!in.read(reinterpret_cast<char*>(h.data()), h.size())) return {};
    auto u32 = [&](int at) {
        return static_cast<std::uint32_t>(h[at]) | static_cast<std::uint32_t>(h[at + 1]) << 8 |
               static_cast<std::uint32_t>(h[at + 2]) << 16 | static_cast<std::uint32_t>(h[at + 3]) << 24;
    };
    if (h[0] != 'B' || h[1] != 'M' || u32(14) < 40) return {};
    return {true, static_cast<std::int32_t>(u32(18)), static_cast<std::int32_t>(u32(22)),
            static_cast<std::uint16_t>(h[28] | h[29] << 8)};
}

TEST(ArtworkTest, EveryInventoryBitmapIsShippedAtItsSizeAndDepth) {
    for (const avrion::artwork::Bitmap& b : avrion::artwork::kBitmaps) {
        SCOPED_TRACE("bitmap " + std::to_string(b.id));
        const BmpHeader h = ReadHeader(std::string(AVRION_BITMAP_DIR) + "/" + std::to_string(b.id) + ".bmp");
        ASSERT_TRUE(h.valid);
        EXPECT_EQ(h.width, b.width);
        EXPECT_EQ(std::abs(h.height), b.height);  // a negative height only means rows stored top-down
        EXPECT_EQ(h.bits, b.bits);
    }
}

TEST(ArtworkTest, OnlyTheLogicPixelIsFourBit) {
    for (const avrion::artwork::Bitmap& b : avrion::artwork::kBitmaps) {
        EXPECT_EQ(b.bits, b.id == 1281 ? 4 : 8) << "bitmap " << b.id;
    }
}

}  // namespace
