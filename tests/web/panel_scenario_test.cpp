// Scenarios played by the panel's clock, one step a frame, from the flights
// folder only.
#include "panel_fixture.h"

namespace {

TEST_F(PanelFixture, AScenarioPlaysToTheEndWithItsExpectationsHeld) {
    ASSERT_EQ(Post("/api/scenario", {{"action", "start"}, {"file", "bus_power_lamps.yaml"}}).status, 200);
    EXPECT_EQ(session.scenarioStatus().state, web::ScenarioState::kPlaying);
    Frames(30);
    EXPECT_NEAR(session.scenarioStatus().time, 31 / 18.0, 1e-9);
    Frames(40);
    const web::ScenarioStatus status = session.scenarioStatus();
    EXPECT_EQ(status.state, web::ScenarioState::kFinished);
    EXPECT_TRUE(status.failures.empty()) << status.failures.front();
    EXPECT_GT(status.passed, 10);
    EXPECT_TRUE(Contains(Get("/api/state").body, "\"state\":\"finished\",\"file\":\"bus_power_lamps.yaml\""));
}

TEST_F(PanelFixture, AScenarioPausesRestartsAndStops) {
    ASSERT_EQ(Post("/api/scenario", {{"action", "start"}, {"file", "bus_power_lamps.yaml"}}).status, 200);
    Frames(10);
    Post("/api/clock", {{"action", "pause"}});
    const double time = session.scenarioStatus().time;
    Frames(10);
    EXPECT_EQ(session.scenarioStatus().time, time);
    EXPECT_EQ(session.scenarioStatus().state, web::ScenarioState::kPaused);
    ASSERT_EQ(Post("/api/scenario", {{"action", "restart"}}).status, 200);
    EXPECT_EQ(session.scenarioStatus().time, 0.0);
    Frames(2);
    EXPECT_EQ(Post("/api/scenario", {{"action", "stop"}}).status, 200);
    EXPECT_EQ(session.scenarioStatus().state, web::ScenarioState::kStopped);
    Frames(2);  // the module runs on
}

TEST_F(PanelFixture, ScenariosOutsideTheFlightsFolderAreRefused) {
    for (const char* file : {"../scenarios/bus_power_lamps.yaml", "/etc/passwd", "", ".hidden.yaml", "notes.txt",
                             "missing.yaml"}) {
        const web::WebResponse answer = Post("/api/scenario", {{"action", "start"}, {"file", file}});
        EXPECT_EQ(answer.status, 400) << file;
        EXPECT_TRUE(Contains(answer.body, "\"error\":")) << file;
    }
    EXPECT_EQ(Post("/api/scenario", {{"action", "restart"}}).status, 400) << "nothing started yet";
    EXPECT_EQ(Post("/api/scenario", {{"action", "fly"}}).status, 400);
    EXPECT_EQ(session.scenarioStatus().state, web::ScenarioState::kNone);
}

TEST_F(PanelFixture, TheFlightsFolderIsListed) {
    const web::WebResponse list = Get("/api/scenarios");
    EXPECT_TRUE(Contains(list.body, "\"bus_power_lamps.yaml\"")) << list.body;
    EXPECT_FALSE(Contains(list.body, "scenarios.txt"));
}

}  // namespace
