// Pictures of a scenario's run: the panel windows that are shown, drawn at
// the scenario's picture moments, and a contact sheet of every gauge at the
// end. The needles move frame by frame as the simulator would turn them. A
// moment with a reference picture compares one window's picture with it, or
// (when asked) writes the reference anew.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "loader/module_host.h"
#include "render/bitmap_store.h"
#include "render/gauge_renderer.h"
#include "render/panel_layout.h"
#include "render/window_drawing.h"
#include "scenario/run_observer.h"
#include "scenario/run_record.h"
#include "scenario/scenario.h"
#include "sim/simulator.h"

// As an observer of a run: the pictures are set up once the module is loaded
// (a reference that does not fit refuses the run), the needles turn after
// every frame, each moment is drawn, and the contact sheet comes at the end.
class ScenarioPictures final : public scenario::RunObserver {
public:
    struct Settings {
        std::string layoutPath;
        std::string bitmapFolder;
        std::string outputFolder;
        std::string moduleName;
        std::string scenarioFolder;  // where reference pictures are found
        bool rewrite = false;        // write the references anew instead of comparing
    };
    explicit ScenarioPictures(Settings settings) : settings_(std::move(settings)) {}

    // Without a layout or bitmaps the run goes on without pictures (and refuses any reference); every
    // reference picture the scenario names must fit its window: exist, unless it is to be written anew, and be of
    // the window's size.
    std::vector<scenario::Problem> Loaded(ModuleRun& run, const scenario::Scenario& scenario) override;
    void AfterFrame() override;
    // Why the moment's picture failed, or empty.
    std::optional<std::string> PictureMoment(const scenario::Picture& picture, double time) override;
    void End(scenario::RunRecord& record) override;

private:
    struct Reference {
        std::string path;
        std::uint32_t window = 0;
    };
    // Empty on success, else why pictures cannot be taken.
    std::string Open(ModuleHost& host, Simulator& simulator);
    bool Write(cairo_surface_t* picture, const std::string& fileName);
    std::string Compare(const scenario::Picture& picture, const std::string& actualFile,
                        scenario::PictureMoment& moment);

    Settings settings_;
    ModuleHost* host_ = nullptr;
    Simulator* simulator_ = nullptr;
    const scenario::Scenario* scenario_ = nullptr;
    bool fits_ = false;  // opened, with every reference fitting
    render::PanelLayout layout_;
    std::unique_ptr<render::BitmapStore> bitmaps_;
    std::unique_ptr<render::GaugeRenderer> renderer_;
    std::unique_ptr<render::GaugeDirectory> directory_;
    std::vector<Reference> references_;  // by picture; empty path when it names none
    std::vector<std::string> written_;
    std::vector<std::string> problems_;
    std::vector<scenario::PictureMoment> moments_;
};
