// Every bitmap any element of any gauge names (an icon's every picture) is
// there for the simulator to draw: a resource of the .gau on Windows, a file
// of the module's bitmaps on Linux, at the size the artwork inventory gives.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "../../tools/artwork/inventory.hpp"
#include "loader/module_host.h"
#include "sim/gauge_access.h"
#include "sim/simulator.h"
#include "support/module_file.h"

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

TEST(BitmapResources, EveryBitmapAnElementNamesIsThereAndInTheInventory) {
    Simulator simulator;
    ModuleHost host(simulator);
    ASSERT_EQ(host.Load(BuiltModulePath()), "");
    const std::set<int> ids = ReferencedBitmaps(host);
    EXPECT_GE(ids.size(), 39u);
    for (int id : ids) {
        EXPECT_TRUE(BitmapPresent(id)) << "bitmap " << id;
        bool listed = false;
        for (const auto& entry : avrion::artwork::kBitmaps) listed = listed || entry.id == id;
        EXPECT_TRUE(listed) << "bitmap " << id << " is not in the artwork inventory";
    }
}

}  // namespace
