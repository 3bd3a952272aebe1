// Every bitmap any element of any gauge names (an icon's every picture) is
// there for the simulator to draw: a resource of the .gau on Windows, a file
// of the module's bitmaps on Linux, at the size the artwork inventory gives.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>

#include "../../tools/artwork/inventory.hpp"
#include "loader/module_host.h"
#include "sim/gauge_access.h"
#include "sim/simulator.h"
#include "support/module_fixture.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

std::set<int> ReferencedBitmaps(const ModuleHost& host) {
    std::set<int> ids;
    for (GAUGEHDR* gauge : host.gauges())
        for (ELEMENT_HEADER* element : gauge_access::Elements(gauge)) {
            if (element->kind == kElementString) continue;
            const int pictures =
                element->kind == kElementIcon ? reinterpret_cast<ELEMENT_ICON*>(element)->pictureCount : 1;
            for (int k = 0; k < pictures; ++k) ids.insert(element->bitmapId + k);
        }
    return ids;
}

bool BitmapPresent(int id) {
#if defined(_WIN32)
    HMODULE module = GetModuleHandleA(AVRION_MODULE_FILE);
    return module != nullptr && FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2)) != nullptr;
#else
    return std::filesystem::exists(std::filesystem::path(AVRION_BITMAP_DIR) / (std::to_string(id) + ".bmp"));
#endif
}

// Bits per pixel of a bitmap as the simulator gets it: the resource's info
// header on Windows (an RT_BITMAP is a BMP without its 14-byte file header),
// the file's on Linux.
std::optional<int> BitsPerPixel(int id) {
    constexpr std::size_t kBitCountOffset = 14;  // within the info header
    std::uint16_t bits = 0;
#if defined(_WIN32)
    HMODULE module = GetModuleHandleA(AVRION_MODULE_FILE);
    HRSRC found = module != nullptr ? FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2)) : nullptr;
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr || SizeofResource(module, found) < kBitCountOffset + sizeof bits) return std::nullopt;
    std::memcpy(&bits, static_cast<const char*>(data) + kBitCountOffset, sizeof bits);
#else
    constexpr std::size_t kFileHeaderBytes = 14;
    std::ifstream file(std::filesystem::path(AVRION_BITMAP_DIR) / (std::to_string(id) + ".bmp"), std::ios::binary);
    file.seekg(static_cast<std::streamoff>(kFileHeaderBytes + kBitCountOffset));
    if (!file.read(reinterpret_cast<char*>(&bits), sizeof bits)) return std::nullopt;
#endif
    return bits;
}

TEST(BitmapResources, EveryBitmapHasEightBitsPerPixelAndTheLogicGaugesPixelFour) {
    const auto run = TestRun();
    ASSERT_EQ(run->Load(), "");
    for (const auto& entry : avrion::artwork::kBitmaps) {
        const int expected = entry.id == 1281 ? 4 : 8;
        EXPECT_EQ(entry.bits, expected) << "inventory entry " << entry.id;
        EXPECT_EQ(BitsPerPixel(entry.id), expected) << "bitmap " << entry.id;
    }
}

TEST(BitmapResources, EveryBitmapAnElementNamesIsThereAndInTheInventory) {
    const auto run = TestRun();
    ASSERT_EQ(run->Load(), "");
    const std::set<int> ids = ReferencedBitmaps(run->host());
    EXPECT_GE(ids.size(), 39u);
    for (int id : ids) {
        EXPECT_TRUE(BitmapPresent(id)) << "bitmap " << id;
        bool listed = false;
        for (const auto& entry : avrion::artwork::kBitmaps) listed = listed || entry.id == id;
        EXPECT_TRUE(listed) << "bitmap " << id << " is not in the artwork inventory";
    }
}

}  // namespace
