// The live panel's answers: what the page reads, and faulty requests refused
// with a clear error while the module runs on.
#include "panel_fixture.h"

#include "sim/host_desktop.h"
#include "sim/variable_catalogue.h"

namespace {

TEST_F(PanelFixture, DescribesEveryWindowOfTheLayoutWithItsGaugesMouseAreas) {
    const web::WebResponse panel = Get("/api/panel");
    ASSERT_EQ(panel.status, 200);
    EXPECT_EQ(panel.contentType, "application/json");
    for (const char* part : {"\"ident\":10000", "\"title\":\"Main panel\"", "\"width\":1490", "\"height\":1080",
                             "\"name\":\"PPS\"", "\"cursor\":5", "\"ident\":12100", "\"tileSide\":256"})
        EXPECT_TRUE(Contains(panel.body, part)) << part;
}

TEST_F(PanelFixture, StateGivesTheTilesOfShownWindowsOnly) {
    Frames(1);
    const web::WebResponse state = Get("/api/state");
    ASSERT_EQ(state.status, 200);
    EXPECT_TRUE(Contains(state.body, "{\"ident\":10000,\"shown\":true,\"columns\":6,\"rows\":5,\"tiles\":[")) << state.body;
    EXPECT_TRUE(Contains(state.body, "{\"ident\":12100,\"shown\":false}"));
    EXPECT_TRUE(Contains(state.body, "\"slots\":{\"10\":")) << state.body;
    EXPECT_TRUE(Contains(state.body, "\"109\":1"));
}

TEST_F(PanelFixture, TilesAndWholeWindowsArePng) {
    Frames(1);
    EXPECT_TRUE(IsPng(Get("/api/tile", {{"ident", "10000"}, {"tile", "0"}})));
    EXPECT_TRUE(IsPng(Get("/api/tile", {{"ident", "10000"}, {"tile", "29"}})));
    EXPECT_EQ(Get("/api/tile", {{"ident", "10000"}, {"tile", "30"}}).status, 404);
    EXPECT_EQ(Get("/api/tile", {{"ident", "10000"}, {"tile", "-1"}}).status, 404);
    EXPECT_TRUE(IsPng(Get("/api/window", {{"ident", "10000"}})));
}

TEST_F(PanelFixture, AGaugeAloneIsPngAndAnUnknownOneIsRefusedWhileTheRunGoesOn) {
    EXPECT_TRUE(IsPng(Get("/api/gauge", {{"name", "PPS"}})));
    const web::WebResponse unknown = Get("/api/gauge", {{"name", "no_such_gauge"}});
    EXPECT_EQ(unknown.status, 404);
    EXPECT_EQ(unknown.body, "{\"error\":\"no gauge \\\"no_such_gauge\\\" in the module\"}");
    const auto before = session.frames();
    Frames(2);
    EXPECT_EQ(session.frames(), before + 2);
}

TEST_F(PanelFixture, UnknownOrMalformedWindowsAreRefused) {
    EXPECT_EQ(Get("/api/tile", {{"ident", "4242"}, {"tile", "0"}}).status, 404);
    EXPECT_EQ(Get("/api/tile", {{"ident", "main"}, {"tile", "0"}}).status, 400);
    EXPECT_EQ(Get("/api/window", {}).status, 400);
    EXPECT_EQ(Post("/api/window", {{"ident", "10000"}, {"shown", "maybe"}}).status, 400);
}

TEST_F(PanelFixture, WindowsOpenAndCloseAsTheSimulatorsKeysWould) {
    EXPECT_FALSE(session.simulator().IsWindowShown(kEngineerPanel));
    EXPECT_EQ(Post("/api/window", {{"ident", "12100"}, {"shown", "1"}}).status, 200);
    EXPECT_TRUE(session.simulator().IsWindowShown(kEngineerPanel));
    EXPECT_EQ(Post("/api/window", {{"ident", "12100"}, {"shown", "toggle"}}).body, "{\"shown\":false}");
    EXPECT_FALSE(session.simulator().IsWindowShown(kEngineerPanel));
}

TEST_F(PanelFixture, VariablesAreSetByNameAndFaultyValuesRefused) {
    EXPECT_EQ(Post("/api/variable", {{"name", "air_temperature"}, {"value", "-12.5"}}).status, 200);
    EXPECT_EQ(session.simulator().Variable(variables::Find("air_temperature")->token), -12.5);
    EXPECT_EQ(Post("/api/variable", {{"name", "transponder_code"}, {"value", "2000"}}).status, 200);

    for (const char* value : {"warm", "", "nan", "inf", "1e300", "12abc"}) {
        const web::WebResponse answer = Post("/api/variable", {{"name", "air_temperature"}, {"value", value}});
        EXPECT_EQ(answer.status, 400) << value;
        EXPECT_TRUE(Contains(answer.body, "\"error\":")) << value;
    }
    EXPECT_EQ(session.simulator().Variable(variables::Find("air_temperature")->token), -12.5);
    EXPECT_EQ(Post("/api/variable", {{"name", "transponder_code"}, {"value", "2089"}}).status, 400);
    EXPECT_EQ(Post("/api/variable", {{"name", "warp_factor"}, {"value", "1"}}).status, 404);
    // A bare token is not a variable the page knows.
    EXPECT_EQ(Post("/api/variable", {{"name", "9999"}, {"value", "1"}}).status, 404);
}

TEST_F(PanelFixture, VariablesAreListedWithTheirValues) {
    Post("/api/variable", {{"name", "fuel"}, {"value", "1234"}});
    const web::WebResponse list = Get("/api/variables");
    ASSERT_EQ(list.status, 200);
    EXPECT_TRUE(Contains(list.body, "{\"name\":\"fuel\",\"token\":386,")) << list.body;
    EXPECT_TRUE(Contains(list.body, "\"value\":1234,\"unit\":\"gal\"}"));
    EXPECT_TRUE(Contains(list.body, "\"name\":\"transponder_code\""));
}

// A person reads and writes degrees and km/h, as scenarios do; the simulator keeps raw values.
TEST_F(PanelFixture, VariablesAreReadAndWrittenInAPersonsUnits) {
    const int latitude = variables::Find("latitude")->token;
    const int speed = variables::Find("ground_speed")->token;
    EXPECT_EQ(Post("/api/variable", {{"name", "latitude"}, {"value", "45"}, {"unit", "deg"}}).status, 200);
    EXPECT_DOUBLE_EQ(session.simulator().Variable(latitude), 40007000.0 / 8);
    EXPECT_EQ(Post("/api/variable", {{"name", "ground_speed"}, {"value", "36"}, {"unit", "km/h"}}).status, 200);
    EXPECT_DOUBLE_EQ(session.simulator().Variable(speed), 10.0);
    EXPECT_EQ(Post("/api/variable", {{"name", "ground_speed"}, {"value", "7"}, {"unit", "raw"}}).status, 200);
    EXPECT_DOUBLE_EQ(session.simulator().Variable(speed), 7.0);
    const web::WebResponse list = Get("/api/variables");
    EXPECT_TRUE(Contains(list.body, "\"name\":\"latitude\"")) << list.body;
    EXPECT_TRUE(Contains(list.body, "\"value\":45,\"unit\":\"deg\"}")) << list.body;

    for (const auto& [name, unit] : {std::pair{"latitude", "furlong"}, std::pair{"transponder_code", "deg"},
                                     std::pair{"on_ground", "deg"}}) {
        const web::WebResponse answer = Post("/api/variable", {{"name", name}, {"value", "1200"}, {"unit", unit}});
        EXPECT_EQ(answer.status, 400) << name << " " << unit;
        EXPECT_TRUE(Contains(answer.body, "has no unit")) << answer.body;
    }
    EXPECT_DOUBLE_EQ(session.simulator().Variable(latitude), 40007000.0 / 8);
}

TEST_F(PanelFixture, SlotsAreSetAsASiblingWouldAndFaultyOnesRefused) {
    EXPECT_EQ(Post("/api/slot", {{"slot", "109"}, {"value", "0"}}).status, 200);
    double value = -5;
    ASSERT_TRUE(session.siblings().ReadSlot(109, value));
    EXPECT_EQ(value, 0.0);
    EXPECT_EQ(Post("/api/slot", {{"slot", "116"}, {"value", "1"}}).status, 400);
    EXPECT_EQ(Post("/api/slot", {{"slot", "-1"}, {"value", "1"}}).status, 400);
    EXPECT_EQ(Post("/api/slot", {{"slot", "bus"}, {"value", "1"}}).status, 400);
    EXPECT_EQ(Post("/api/slot", {{"slot", "29"}, {"value", "on"}}).status, 400);
    EXPECT_EQ(Post("/api/slot", {{"slot", "29"}, {"value", "nan"}}).status, 400);
}

TEST_F(PanelFixture, TheClockPausesAndRuns) {
    EXPECT_EQ(Post("/api/clock", {{"action", "pause"}}).status, 200);
    const auto before = session.frames();
    Frames(3);
    EXPECT_EQ(session.frames(), before);
    EXPECT_EQ(Post("/api/clock", {{"action", "run"}}).status, 200);
    Frames(3);
    EXPECT_EQ(session.frames(), before + 3);
    EXPECT_EQ(Post("/api/clock", {{"action", "stop"}}).status, 400);
}

TEST_F(PanelFixture, UnknownPathsAndMethodsAreRefused) {
    EXPECT_EQ(Get("/api/nothing").status, 404);
    EXPECT_EQ(Post("/api/state").status, 405);
    EXPECT_EQ(Get("/api/mouse").status, 405);
}

TEST_F(PanelFixture, SoundIsNotAskedForWhenItPlaysOnTheHost) {
    EXPECT_TRUE(Contains(Get("/api/panel").body, "\"sound\":\"host\""));
    const web::WebResponse answer = Get("/api/sound", {{"from", "0"}});
    EXPECT_EQ(answer.status, 404);
    EXPECT_TRUE(Contains(answer.body, "the sound plays host, not in the browser")) << answer.body;
}

TEST_F(PanelFixture, MessageBoxesOfTheModuleAreInTheState) {
    HostDesktop::Instance().ShowMessageBox("Bus \"A\"\nlost", "Kesta", 0);
    const web::WebResponse state = Get("/api/state");
    EXPECT_TRUE(Contains(state.body, "{\"caption\":\"Kesta\",\"text\":\"Bus \\\"A\\\"\\nlost\"}")) << state.body;
}

}  // namespace
