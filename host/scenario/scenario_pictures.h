// Pictures of a scenario's run: the panel windows that are shown, drawn at
// the scenario's picture moments, and a contact sheet of every gauge at the
// end. The needles move frame by frame as the simulator would turn them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "loader/module_host.h"
#include "render/bitmap_store.h"
#include "render/gauge_renderer.h"
#include "render/panel_layout.h"
#include "render/window_drawing.h"
#include "sim/simulator.h"

class ScenarioPictures {
public:
    // Empty on success, else why pictures cannot be taken.
    std::string Open(const std::string& layoutPath, const std::string& bitmapFolder, ModuleHost& host,
                     Simulator& simulator, const std::string& outputFolder, const std::string& moduleName);

    void AfterFrame();
    void Take(const std::string& name);
    void ContactSheet();
    const std::vector<std::string>& written() const { return written_; }
    const std::vector<std::string>& problems() const { return problems_; }

private:
    void Write(cairo_surface_t* picture, const std::string& fileName);

    ModuleHost* host_ = nullptr;
    Simulator* simulator_ = nullptr;
    std::string outputFolder_;
    render::PanelLayout layout_;
    std::unique_ptr<render::BitmapStore> bitmaps_;
    std::unique_ptr<render::GaugeRenderer> renderer_;
    std::unique_ptr<render::GaugeDirectory> directory_;
    std::vector<std::string> written_;
    std::vector<std::string> problems_;
};
