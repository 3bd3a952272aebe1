#include "scenario/scenario_pictures.h"

#include <filesystem>

#include "render/contact_sheet.h"
#include "render/surface.h"

std::string ScenarioPictures::Open(const std::string& layoutPath, const std::string& bitmapFolder, ModuleHost& host,
                                   Simulator& simulator, const std::string& outputFolder,
                                   const std::string& moduleName) {
    if (std::string error = render::ReadPanelLayout(layoutPath, layout_); !error.empty()) return error;
    if (!std::filesystem::is_directory(bitmapFolder)) return "the bitmap folder " + bitmapFolder + " is missing";
    host_ = &host;
    simulator_ = &simulator;
    outputFolder_ = outputFolder;
    for (std::uint32_t ident : render::InitiallyVisibleIdents(layout_)) simulator.ShowWindow(ident, true);
    bitmaps_ = std::make_unique<render::BitmapStore>(bitmapFolder);
    renderer_ = std::make_unique<render::GaugeRenderer>(*bitmaps_);
    directory_ = std::make_unique<render::GaugeDirectory>(host.gauges(), moduleName);
    return std::string();
}

void ScenarioPictures::AfterFrame() {
    if (!renderer_) return;
    renderer_->BeginFrame();
    for (const render::PanelWindow* window : render::ShownWindows(layout_, *simulator_))
        render::UpdateWindow(*window, *directory_, *renderer_);
}

void ScenarioPictures::Take(const std::string& name) {
    if (!renderer_) return;
    for (const render::PanelWindow* window : render::ShownWindows(layout_, *simulator_)) {
        render::Surface picture = render::DrawWindow(*window, *directory_, *renderer_);
        Write(picture.get(), name + "-window" + std::to_string(window->ident) + ".png");
    }
}

void ScenarioPictures::ContactSheet() {
    if (!renderer_) return;
    render::Surface sheet = render::DrawContactSheet(host_->gauges(), *renderer_);
    Write(sheet.get(), "contact-sheet.png");
}

void ScenarioPictures::Write(cairo_surface_t* picture, const std::string& fileName) {
    const std::string path = (std::filesystem::path(outputFolder_) / fileName).string();
    if (std::string error = render::WritePng(picture, path); !error.empty())
        problems_.push_back(error);
    else
        written_.push_back(path);
}
