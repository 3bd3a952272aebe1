// The shipped panel.cfg (the renderer's layout and the install package's
// example) against the built module: every gauge of the module placed exactly
// once at its own size, the windows the module toggles present by ident, and
// the logic gauge on a window that is always shown.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "loader/module_host.h"
#include "render/bitmap_store.h"
#include "render/gauge_renderer.h"
#include "render/panel_layout.h"
#include "sim/simulator.h"
#include "support/module_fixture.h"

namespace {

constexpr const char* kModuleName = "Kesta_Avrion_0_018";

class ShippedPanel : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(run->Load(), "");
        ASSERT_EQ(render::ReadPanelLayout(std::string(AVRION_SIM_ROOT) + "/panel/panel.cfg", layout), "");
    }

    std::unique_ptr<ModuleRun> run = TestRun();
    ModuleHost& host = run->host();
    render::PanelLayout layout;
};

TEST_F(ShippedPanel, PlacesEveryGaugeOnceAtItsOwnSize) {
    render::BitmapStore bitmaps(AVRION_BITMAP_DIR, [](const std::string& warning) { ADD_FAILURE() << warning; });
    render::GaugeRenderer renderer(bitmaps);
    std::map<std::string, int> placed;
    for (const render::PanelWindow& window : layout.windows)
        for (const render::GaugePlacement& placement : window.gauges) {
            SCOPED_TRACE(placement.gauge + " on line " + std::to_string(placement.line));
            EXPECT_EQ(placement.module, kModuleName);
            ++placed[placement.gauge];
            GAUGEHDR* gauge = host.FindGauge(placement.gauge);
            ASSERT_NE(gauge, nullptr);
            const render::Size size = renderer.GaugeSize(gauge);
            ASSERT_TRUE(placement.width && placement.height) << "a panel.cfg line gives width and height";
            EXPECT_EQ(*placement.width, size.width);
            EXPECT_EQ(*placement.height, size.height);
        }
    EXPECT_EQ(placed.size(), host.gauges().size());
    for (GAUGEHDR* gauge : host.gauges()) EXPECT_EQ(placed[gauge->name], 1) << gauge->name;
}

TEST_F(ShippedPanel, HasTheWindowsTheModuleTogglesAndShowsTheLogicGaugeAlways) {
    for (std::uint32_t ident : {1271u, 11240u, 11241u, 12100u, 12200u}) {
        const render::PanelWindow* window = layout.FindByIdent(ident);
        ASSERT_NE(window, nullptr) << "ident " << ident;
        EXPECT_FALSE(window->visible) << "ident " << ident << " starts hidden";
        EXPECT_FALSE(window->title.empty()) << "ident " << ident << " has a title";
    }
    std::set<std::string> alwaysShown;
    for (const render::PanelWindow& window : layout.windows)
        if (window.visible)
            for (const render::GaugePlacement& placement : window.gauges) alwaysShown.insert(placement.gauge);
    EXPECT_TRUE(alwaysShown.contains("logic"));
}

}  // namespace
