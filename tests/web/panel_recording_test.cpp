// What is done on the panel while recording comes back as a scenario that the
// scenario runner plays through a freshly loaded module with every
// expectation holding.
#include "panel_fixture.h"
#include "support/scenario_model.h"

namespace {

class PanelRecording : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        Post("/api/window", {{"ident", "12100"}, {"shown", "1"}});
        Frames(2);
    }

    web::WebResponse Record(const char* action) { return Post("/api/record", {{"action", action}}); }

    // The newest recorded scenario, fetched as the page downloads it.
    std::string Recorded() {
        const auto& files = session.recordings();
        if (files.empty()) return std::string();
        const web::WebResponse download = Get("/api/recording", {{"file", files.back().name}});
        EXPECT_EQ(download.status, 200);
        EXPECT_EQ(download.downloadName, files.back().name);
        return download.body;
    }
};

TEST_F(PanelRecording, ABreakerAHeldButtonAndTheBusSwitchedOffReplayWithEveryExpectationHeld) {
    Post("/api/variable", {{"name", "air_temperature"}, {"value", "-21.5"}});  // before: the file starts with it
    ASSERT_EQ(Record("start").status, 200);
    Frames(3);
    Mouse(kEngineerPanel, "AZS_water_level", 1, "press");
    Mouse(kEngineerPanel, "AZS_water_level", 1, "release");
    Frames(2);
    Mouse(kEngineerPanel, "sliv_heat_check_btn", 1, "press");
    Frames(4);
    ASSERT_EQ(Record("mark").status, 200);  // taken at the next frame, the button still held
    Frames(1);
    Mouse(kEngineerPanel, "sliv_heat_check_btn", 1, "release");
    Mouse(kEngineerPanel, "AZS_sliv_heat", 1, "press");
    Mouse(kEngineerPanel, "AZS_sliv_heat", 1, "release");
    Frames(3);
    Post("/api/slot", {{"slot", "109"}, {"value", "0"}});
    Post("/api/variable", {{"name", "transponder_code"}, {"value", "1200"}});
    Frames(2);
    Mouse(kEngineerPanel, "AZS_sliv_heat", 1, "right");
    ASSERT_EQ(Record("stop").status, 200);
    EXPECT_TRUE(Contains(Get("/api/state").body, "\"recording\":{\"state\":\"stopping\""));
    Frames(1);
    const std::string state = Get("/api/state").body;
    EXPECT_TRUE(Contains(state, "\"recording\":{\"state\":\"off\"")) << state;
    EXPECT_TRUE(Contains(state, "\"files\":[{\"name\":\"recording-")) << state;

    const std::string text = Recorded();
    scenario::Scenario played;
    const scenario::RunResult result = Replay(text, played);
    ExpectAllHeld(result, played, text);
    ExpectYamlRoundTrip(played);
    EXPECT_GT(played.expectations.size(), 100u) << "every shown gauge's elements, twice";
    ASSERT_EQ(played.mouse.size(), 4u) << text;
    ASSERT_TRUE(played.mouse[1].holdSeconds);
    EXPECT_NEAR(*played.mouse[1].holdSeconds, 5 / 18.0, 1e-9) << "pressed after frame 5, released after frame 10";
    EXPECT_TRUE(played.mouse[3].right);
    EXPECT_TRUE(Contains(text, "air_temperature: {interpolate: step, keys: [[0, -21.5]]}")) << text;
    EXPECT_TRUE(Contains(text, "transponder_code: {keys: [[0, \"0000\"], [0.7777777777777778, \"1200\"]]}")) << text;
    EXPECT_TRUE(Contains(text, "109: [[0, 1], [0.7777777777777778, 0]]")) << text;
}

// Paused, nothing moves on by itself: the readings are of the moment, after one frame for what was done since the
// last, as a replay runs one.
TEST_F(PanelRecording, WhilePausedTheStopTakesTheReadingsAfterOneFrameForWhatWasDone) {
    Post("/api/clock", {{"action", "pause"}});
    ASSERT_EQ(Record("start").status, 200);
    const auto frames = session.frames();
    ASSERT_EQ(Record("mark").status, 200);
    EXPECT_EQ(session.frames(), frames) << "nothing done yet: marked at once";
    Mouse(kEngineerPanel, "AZS_sliv_heat", 1, "press");
    ASSERT_EQ(Record("stop").status, 200);
    EXPECT_EQ(session.frames(), frames + 1);
    const std::string text = Recorded();
    scenario::Scenario played;
    ExpectAllHeld(Replay(text, played), played, text);
    EXPECT_TRUE(Contains(text, "still held at the end")) << text;
}

TEST_F(PanelRecording, WhatCannotBeDoneIsRefusedAndWhatCannotBeKeptIsSaid) {
    EXPECT_EQ(Record("stop").status, 409);
    EXPECT_EQ(Record("mark").status, 409);
    EXPECT_EQ(Record("rewind").status, 400);
    EXPECT_EQ(Get("/api/recording", {{"file", "../../etc/passwd"}}).status, 404);
    ASSERT_EQ(Record("start").status, 200);
    EXPECT_EQ(Record("start").status, 409);
    EXPECT_EQ(Post("/api/scenario", {{"action", "start"}, {"file", "bus_power_lamps.yaml"}}).status, 400);
    Post("/api/window", {{"ident", "12200"}, {"shown", "1"}});
    Mouse(kEngineerPanel, "AZS_water_level", 1, "release");  // nothing held: no event a replay could give
    Mouse(kEngineerPanel, "sliv_heat_check_btn", 1, "press");
    Frames(2);
    Post("/api/mouse", {{"ident", "12100"}, {"x", "0"}, {"y", "0"}, {"action", "leave"}});
    Record("stop");
    Frames(1);
    const std::string text = Recorded();
    EXPECT_TRUE(Contains(text, "# Panel windows opened and closed from the page are not part of it")) << text;
    EXPECT_TRUE(Contains(text, "# A button let go by the pointer leaving its area is released there")) << text;
    scenario::Scenario played;
    ExpectAllHeld(Replay(text, played), played, text);
    EXPECT_EQ(played.mouse.size(), 1u) << text;
}

}  // namespace
