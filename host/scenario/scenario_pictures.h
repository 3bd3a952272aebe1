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
#include "scenario/scenario.h"
#include "sim/simulator.h"

class ScenarioPictures {
public:
    // A picture moment as taken.
    struct Moment {
        std::size_t picture = 0;  // in the scenario's list
        double time = 0.0;
        std::vector<std::pair<std::uint32_t, std::string>> windows;  // each shown window and its file's name
        // With a reference picture:
        std::uint32_t window = 0;
        std::string reference;      // the path, absolute
        long long differing = -1;   // pixels beyond the threshold; -1 when not compared
        std::string difference;     // file name of the difference image, when written
        std::string referenceCopy;  // file name of the reference's copy beside it, on a mismatch
        bool rewritten = false;     // the reference was written anew
        std::string failure;
    };

    // Empty on success, else why pictures cannot be taken.
    std::string Open(const std::string& layoutPath, const std::string& bitmapFolder, ModuleHost& host,
                     Simulator& simulator, const std::string& outputFolder, const std::string& moduleName);
    // Before the first frame: every reference picture the scenario names must fit its window (exist, unless
    // they are to be written anew, and be of the window's size); references are found from scenarioFolder.
    std::vector<scenario::Problem> CheckReferences(const scenario::Scenario& scenario,
                                                   const std::string& scenarioFolder, bool rewrite);

    void AfterFrame();
    // Why the moment's picture failed, or nothing.
    std::string Take(const scenario::Picture& picture, double time);
    void ContactSheet();
    const std::vector<std::string>& written() const { return written_; }
    const std::vector<std::string>& problems() const { return problems_; }
    const std::vector<Moment>& moments() const { return moments_; }

private:
    struct Reference {
        std::string path;
        std::uint32_t window = 0;
    };
    bool Write(cairo_surface_t* picture, const std::string& fileName);
    std::string Compare(const scenario::Picture& picture, const std::string& actualFile, Moment& moment);

    ModuleHost* host_ = nullptr;
    Simulator* simulator_ = nullptr;
    const scenario::Scenario* scenario_ = nullptr;
    bool rewrite_ = false;
    std::string outputFolder_;
    render::PanelLayout layout_;
    std::unique_ptr<render::BitmapStore> bitmaps_;
    std::unique_ptr<render::GaugeRenderer> renderer_;
    std::unique_ptr<render::GaugeDirectory> directory_;
    std::vector<Reference> references_;  // by picture; empty path when it names none
    std::vector<std::string> written_;
    std::vector<std::string> problems_;
    std::vector<Moment> moments_;
};
