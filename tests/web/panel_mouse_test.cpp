// Mouse events from the page reach the module as the simulator delivers
// them: press, the repeat each frame while held, release or leave, right
// press; clicks where no area is are refused.
#include "panel_fixture.h"

namespace {

constexpr double kHidden = -1.0;

class PanelMouse : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        Post("/api/window", {{"ident", "12100"}, {"shown", "1"}});
        Frames(1);
    }
    std::uint64_t TileVersion() { return session.tiles().Picture(*session.FindWindow(kEngineerPanel)).version; }
};

TEST_F(PanelMouse, ABreakerClickReachesTheModuleAndChangesThePicture) {
    const std::uint64_t before = TileVersion();
    const double position = Icon("AZS_water_level");
    const web::WebResponse answer = Mouse(kEngineerPanel, "AZS_water_level", 1, "press");
    ASSERT_EQ(answer.status, 200) << answer.body;
    EXPECT_EQ(answer.body, "{\"gauge\":\"AZS_water_level\",\"area\":1,\"delivered\":true}");
    EXPECT_EQ(Mouse(kEngineerPanel, "AZS_water_level", 1, "release").body,
              "{\"gauge\":\"AZS_water_level\",\"area\":1,\"delivered\":false}")
        << "the breaker's area takes presses only";
    EXPECT_NE(Icon("AZS_water_level"), position);
    Frames(1);
    EXPECT_GT(TileVersion(), before);
}

TEST_F(PanelMouse, AHeldButtonStaysPressedThroughTheRepeatAndLetsGoOnRelease) {
    EXPECT_EQ(Icon("sliv_heat_check_btn"), kHidden);
    ASSERT_EQ(Mouse(kEngineerPanel, "sliv_heat_check_btn", 1, "press").status, 200);
    Frames(3);
    EXPECT_NE(Icon("sliv_heat_check_btn"), kHidden);
    EXPECT_NE(Icon("sliv_heat_lamp"), kHidden) << "the lamp is lit while its check button is held";
    Mouse(kEngineerPanel, "sliv_heat_check_btn", 1, "release");
    Frames(1);
    EXPECT_EQ(Icon("sliv_heat_check_btn"), kHidden);
    EXPECT_EQ(Icon("sliv_heat_lamp"), kHidden);
}

TEST_F(PanelMouse, APointerLeavingAHeldButtonLetsItGo) {
    Mouse(kEngineerPanel, "sliv_heat_check_btn", 1, "press");
    Frames(1);
    EXPECT_EQ(Post("/api/mouse", {{"ident", "12100"}, {"x", "0"}, {"y", "0"}, {"action", "leave"}}).status, 200);
    EXPECT_EQ(Icon("sliv_heat_check_btn"), kHidden);
    // A leave with nothing held passes by.
    EXPECT_EQ(Post("/api/mouse", {{"ident", "12100"}, {"x", "0"}, {"y", "0"}, {"action", "leave"}}).status, 200);
}

TEST_F(PanelMouse, TheLampsGoDarkWithoutBusPower) {
    Mouse(kEngineerPanel, "AZS_sliv_heat", 1, "press");
    Mouse(kEngineerPanel, "AZS_sliv_heat", 1, "release");
    Frames(1);
    EXPECT_NE(Icon("sliv_heat_lamp"), kHidden);
    Post("/api/slot", {{"slot", "109"}, {"value", "0"}});
    Frames(1);
    EXPECT_EQ(Icon("sliv_heat_lamp"), kHidden);
}

TEST_F(PanelMouse, ARightPressIsDeliveredAsOne) {
    const web::WebResponse answer = Mouse(kEngineerPanel, "sliv_heat_check_btn", 1, "right");
    ASSERT_EQ(answer.status, 200);
    EXPECT_TRUE(Contains(answer.body, "\"delivered\":false")) << "the button's area takes no right press";
    EXPECT_EQ(Icon("sliv_heat_check_btn"), kHidden);
}

TEST_F(PanelMouse, AClickOutsideEveryAreaIsRefusedAndTheRunGoesOn) {
    const web::WebResponse answer =
        Post("/api/mouse", {{"ident", "10000"}, {"x", "1480"}, {"y", "1075"}, {"action", "press"}});
    EXPECT_EQ(answer.status, 404);
    EXPECT_TRUE(Contains(answer.body, "no mouse area at (1480, 1075) of window 10000")) << answer.body;
    EXPECT_EQ(Mouse(kEngineerPanel, "AZS_water_level", 1, "press").status, 200);
    Frames(1);
}

TEST_F(PanelMouse, FaultyMouseRequestsAreRefused) {
    EXPECT_EQ(Post("/api/mouse", {{"ident", "12100"}, {"x", "ten"}, {"y", "20"}, {"action", "press"}}).status, 400);
    EXPECT_EQ(Post("/api/mouse", {{"ident", "12100"}, {"x", "10"}, {"y", "20"}, {"action", "wiggle"}}).status, 400);
    EXPECT_EQ(Post("/api/mouse", {{"ident", "12100"}, {"x", "nan"}, {"y", "20"}, {"action", "press"}}).status, 400);
    EXPECT_EQ(Post("/api/mouse", {{"ident", "777"}, {"x", "10"}, {"y", "20"}, {"action", "press"}}).status, 404);
    // A window the simulator does not show takes no clicks.
    EXPECT_EQ(Post("/api/mouse", {{"ident", "12200"}, {"x", "10"}, {"y", "20"}, {"action", "press"}}).status, 409);
}

}  // namespace
