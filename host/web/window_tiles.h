// The live panel's pictures: each window's latest picture cut into square
// tiles, so that a change re-encodes and resends only the tiles it touches (a
// needle, a lamp), not the window; the gauges placed as the layout places
// them, and what drawing and encoding cost.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "render/bitmap_store.h"
#include "render/gauge_renderer.h"
#include "render/panel_layout.h"
#include "render/window_drawing.h"

namespace web {

struct WindowPicture {
    static constexpr int kTileSide = 256;

    struct Tile {
        std::uint64_t version = 0;  // moves on only when the tile's pixels change
        std::shared_ptr<const std::string> png;
    };

    int width = 0, height = 0;
    int columns = 0, rows = 0;
    std::vector<Tile> tiles;            // row by row
    std::vector<unsigned char> pixels;  // the whole window, cairo ARGB32
    int stride = 0;
    std::uint64_t version = 0;  // the newest tile's
    std::string signature;      // of what it was drawn from (see window_signature.h)
};

class WindowTiles {
public:
    WindowTiles(const render::PanelLayout& layout, const std::string& bitmapFolder);

    // After every load, whether it worked or not: a module that did not load
    // has no gauges, and its windows show placeholders. Pictures keep their
    // versions, which only ever grow, so the page never takes a new tile for
    // one it has.
    void Place(ModuleHost& host, const std::string& moduleName);
    // Before the module is shut down: nothing of it is drawn any more.
    void Forget() { directory_.reset(); }
    // A new frame's pictures of the shown windows.
    void DrawShown(const Simulator& simulator);

    render::Size WindowSize(const render::PanelWindow& window);
    std::vector<render::GaugeBox> GaugeBoxes(const render::PanelWindow& window);
    // The window's latest picture; drawn now if it has none yet.
    const WindowPicture& Picture(const render::PanelWindow& window);
    // The whole window as one PNG, encoded now.
    std::string WindowPng(const render::PanelWindow& window);
    std::string GaugePng(const GAUGEHDR& gauge);

    // What drawing the shown windows, and comparing and encoding their changed
    // tiles, cost in the last frame, and in all frames so far.
    double drawMilliseconds() const { return drawMilliseconds_; }
    double encodeMilliseconds() const { return encodeMilliseconds_; }
    double totalMilliseconds() const { return totalMilliseconds_; }

private:
    void Redraw(const render::PanelWindow& window);
    void UpdateTiles(WindowPicture& picture, cairo_surface_t* surface);

    const render::PanelLayout& layout_;
    render::BitmapStore bitmaps_;
    render::GaugeRenderer renderer_;
    std::unique_ptr<render::GaugeDirectory> directory_;
    std::vector<WindowPicture> pictures_;  // by place in the layout
    double drawMilliseconds_ = 0.0;
    double encodeMilliseconds_ = 0.0;
    double totalMilliseconds_ = 0.0;
};

}  // namespace web
