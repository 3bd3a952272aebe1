// A module file rebuilt under the running panel is loaded again at a frame
// boundary with the simulator's state, the windows and a recording kept; one
// that does not load leaves the panel answering, and the next change is tried.
#include <unistd.h>

#include <fstream>

#include "panel_fixture.h"
#include "sim/variable_catalogue.h"

namespace {

namespace fs = std::filesystem;

class PanelReload : public PanelFixture {
protected:
    // The session loads a copy of the built module, which the tests replace as a build would.
    void Adjust(web::PanelSettings& settings) override {
        folder_ = fs::temp_directory_path() / ("avrion-reload-" + std::to_string(getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        fs::copy_file(BuiltModulePath(), module());
        settings.modulePath = module().string();
        settings.reloadOnChange = true;
        settings.reloadQuiet = std::chrono::milliseconds(0);
        settings.recordFolder = (folder_ / "recorded").string();
    }
    void TearDown() override {
        PanelFixture::TearDown();
        fs::remove_all(folder_);
    }
    fs::path module() const { return folder_ / "Kesta_Avrion_0_018.so"; }
    // Written beside it and renamed into place, as a linker's output often is.
    void Rebuild(const std::string& from) {
        fs::copy_file(from, module().string() + ".new", fs::copy_options::overwrite_existing);
        fs::rename(module().string() + ".new", module());
    }
    const std::string& State() { return state_ = Get("/api/state").body; }

    fs::path folder_;
    std::string state_;
};

TEST_F(PanelReload, ARebuiltModuleIsLoadedAtAFrameBoundaryKeepingTheStateTheWindowsAndTheRecording) {
    Post("/api/window", {{"ident", "12100"}, {"shown", "1"}});
    Post("/api/variable", {{"name", "air_temperature"}, {"value", "-12.5"}});
    Post("/api/slot", {{"slot", "29"}, {"value", "1"}});
    Frames(2);
    ASSERT_EQ(Post("/api/record", {{"action", "start"}}).status, 200);
    Frames(2);
    Mouse(kEngineerPanel, "AZS_water_level", 1, "press");
    Mouse(kEngineerPanel, "sliv_heat_check_btn", 1, "press");
    Frames(2);
    const auto frames = session.frames();
    const auto version = session.tiles().Picture(*session.FindWindow(kEngineerPanel)).version;

    Rebuild(BuiltModulePath());
    Frames(1);
    EXPECT_EQ(session.frames(), frames + 1) << "the frame runs on the module loaded before it";
    EXPECT_TRUE(Contains(State(), "\"module\":{\"loads\":3,\"loaded\":true,\"error\":\"\"")) << state_;
    EXPECT_GT(session.moduleStatus().reloadMilliseconds, 0.0);
    EXPECT_EQ(session.simulator().Variable(variables::Find("air_temperature")->token), -12.5);
    double slot = 0.0;
    ASSERT_TRUE(session.siblings().ReadSlot(29, slot));
    EXPECT_EQ(slot, 1.0);
    EXPECT_TRUE(session.simulator().IsWindowShown(kEngineerPanel));
    EXPECT_EQ(Icon("sliv_heat_check_btn"), -1.0) << "the new module holds no button the old one had";
    EXPECT_GT(session.tiles().Picture(*session.FindWindow(kEngineerPanel)).version, version) << "the page takes new tiles";
    EXPECT_TRUE(Contains(state_, "\"recording\":{\"state\":\"recording\",\"section\":2")) << state_;

    Mouse(kEngineerPanel, "AZS_sliv_heat", 1, "press");
    Frames(2);
    Post("/api/record", {{"action", "stop"}});
    Frames(1);
    ASSERT_EQ(session.recordings().size(), 2u);
    const web::RecordedScenario first = session.recordings()[0], second = session.recordings()[1];
    EXPECT_TRUE(second.name == first.name.substr(0, first.name.size() - 5) + "-section2.yaml") << second.name;
    for (const web::RecordedScenario& file : {first, second}) {
        EXPECT_EQ(file.savedTo, (folder_ / "recorded" / file.name).string());
        std::ifstream saved(file.savedTo);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), file.text);
        scenario::Scenario played;
        ExpectAllHeld(Replay(file.text, played, module().string()), played, file.text);
    }
    EXPECT_TRUE(Contains(first.text, "still held at the end")) << "the old module's button was never let go";
}

TEST_F(PanelReload, AModuleThatDoesNotLoadLeavesThePanelAnsweringAndTheNextChangeIsTried) {
    Frames(1);
    std::ofstream(module().string() + ".new") << "not a module\n";
    fs::rename(module().string() + ".new", module());
    Frames(1);
    EXPECT_TRUE(Contains(State(), "\"module\":{\"loads\":2,\"loaded\":false,\"error\":\"cannot load the gauge module " +
                                      module().string()))
        << state_;
    const auto frames = session.frames();
    Frames(3);
    EXPECT_EQ(session.frames(), frames) << "no module, no frames";
    EXPECT_EQ(Get("/api/panel").status, 200);
    EXPECT_TRUE(IsPng(Get("/api/tile", {{"ident", "10000"}, {"tile", "0"}})));
    EXPECT_EQ(Post("/api/record", {{"action", "start"}}).status, 409);

    // Truncated and rewritten in place this time.
    fs::copy_file(BuiltModulePath(), module(), fs::copy_options::overwrite_existing);
    Frames(1);
    EXPECT_TRUE(Contains(State(), "\"module\":{\"loads\":3,\"loaded\":true")) << state_;
    Frames(1);
    EXPECT_EQ(session.frames(), frames + 2);
}

}  // namespace
