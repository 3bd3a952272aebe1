// A live panel session on the built module and the shipped layout, and
// requests made to it as the server makes them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "render/label.h"
#include "scenario/scenario_checks.h"
#include "scenario/scenario_player.h"
#include "scenario/scenario_yaml.h"
#include "sim/gauge_access.h"
#include "support/module_fixture.h"
#include "web/panel_requests.h"
#include "web/panel_session.h"

// The font libraries' caches live as long as the process unless handed back; the leak checker would report them.
class FontCaches : public ::testing::Environment {
public:
    void TearDown() override { render::ReleaseFontCaches(); }
};
inline const auto* const fontCaches = ::testing::AddGlobalTestEnvironment(new FontCaches);

class PanelFixture : public testing::Test {
protected:
    static constexpr std::uint32_t kMainPanel = 10000;
    static constexpr std::uint32_t kEngineerPanel = 12100;

    void SetUp() override {
        web::PanelSettings settings;
        settings.modulePath = BuiltModulePath();
        settings.simRoot = AVRION_SIM_ROOT;
        settings.bitmapFolder = AVRION_BITMAP_DIR;
        settings.layoutPath = AVRION_SIM_ROOT "/panel/panel.cfg";
        settings.flightsFolder = AVRION_SCENARIO_DIR;
        settings.reloadOnChange = false;
        Adjust(settings);
        ASSERT_EQ(session.Open(settings), "");
    }
    void TearDown() override {
        if (session.moduleLoaded()) {
            EXPECT_TRUE(session.host().TextBuffersIntact()) << "a text callback wrote past its buffer";
        }
        session.Close();
    }

    // Settings of a test's own, before the session opens.
    virtual void Adjust(web::PanelSettings&) {}

    web::WebResponse Get(const std::string& path, std::map<std::string, std::string> params = {}) {
        return web::HandleRequest(session, {"GET", path, std::move(params)});
    }
    web::WebResponse Post(const std::string& path, std::map<std::string, std::string> params = {}) {
        return web::HandleRequest(session, {"POST", path, std::move(params)});
    }

    // The middle of a gauge's child area (1 = first) in window pixels.
    std::pair<double, double> AreaCentre(std::uint32_t ident, const char* gauge, int area) {
        for (const render::GaugeBox& box : session.tiles().GaugeBoxes(*session.FindWindow(ident)))
            if (std::string(box.gauge->name) == gauge) {
                const auto areas = gauge_access::ChildAreas(box.gauge);
                const auto& a = areas.at(static_cast<std::size_t>(area - 1));
                return {box.x + (a.x + a.width / 2.0) * box.scaleX, box.y + (a.y + a.height / 2.0) * box.scaleY};
            }
        ADD_FAILURE() << "no gauge " << gauge << " on window " << ident;
        return {-1, -1};
    }
    web::WebResponse Mouse(std::uint32_t ident, const char* gauge, int area, const char* action) {
        const auto [x, y] = AreaCentre(ident, gauge, area);
        return Post("/api/mouse",
                    {{"ident", std::to_string(ident)}, {"x", std::to_string(x)}, {"y", std::to_string(y)},
                     {"action", action}});
    }
    // The picture an icon element shows (element 2 of the one-picture gauges); -1 hidden.
    double Icon(const char* gauge, int element = 2) {
        const auto elements = gauge_access::Elements(session.host().FindGauge(gauge));
        return gauge_access::ElementValue(elements.at(static_cast<std::size_t>(element - 1)));
    }
    void Frames(int count) {
        for (int i = 0; i < count; ++i) session.Step();
    }

    // Plays a recorded scenario as avrion-scenario does, once the panel's module is shut down.
    scenario::RunResult Replay(const std::string& text, scenario::Scenario& played,
                               const std::string& module = BuiltModulePath()) {
        session.Close();
        scenario::ParseResult parsed = scenario::ParseScenario(text, "recorded.yaml");
        for (const scenario::Problem& problem : parsed.problems) ADD_FAILURE() << problem.ToString() << "\n" << text;
        played = parsed.scenario;
        const auto run = TestRun();
        EXPECT_EQ(run->Load(module), "");
        for (const scenario::Problem& problem : scenario::CheckAgainstGauges(played, run->host().gauges()))
            ADD_FAILURE() << problem.ToString();
        scenario::RunObservers none;
        return scenario::RunScenario(played, *run, none, {});
    }
    void ExpectAllHeld(const scenario::RunResult& result, const scenario::Scenario& played, const std::string& text) {
        EXPECT_EQ(result.error, "");
        for (const std::string& failure : result.failures()) ADD_FAILURE() << failure << "\n" << text;
        EXPECT_EQ(result.passed(), static_cast<int>(played.expectations.size()));
    }

    web::PanelSession session;
};

inline bool IsPng(const web::WebResponse& response) {
    return response.status == 200 && response.contentType == "image/png" && response.body.starts_with("\x89PNG");
}
inline bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
