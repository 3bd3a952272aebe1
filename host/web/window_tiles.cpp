#include "web/window_tiles.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "web/png_stream.h"
#include "web/window_signature.h"

namespace web {

using Clock = std::chrono::steady_clock;

namespace {
double Milliseconds(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }
}  // namespace

WindowTiles::WindowTiles(const render::PanelLayout& layout, const std::string& bitmapFolder)
    : layout_(layout), bitmaps_(bitmapFolder), renderer_(bitmaps_) {}

void WindowTiles::Place(ModuleHost& host, const std::string& moduleName) {
    directory_ = std::make_unique<render::GaugeDirectory>(host.gauges(), moduleName);
    renderer_.Reset();
    render::PlaceGauges(layout_, *directory_, renderer_, host);
    if (pictures_.size() != layout_.windows.size()) pictures_.assign(layout_.windows.size(), {});
    for (WindowPicture& picture : pictures_) picture.signature.clear();
}

void WindowTiles::DrawShown(const Simulator& simulator) {
    renderer_.BeginFrame();
    drawMilliseconds_ = encodeMilliseconds_ = 0.0;
    for (const render::PanelWindow* window : render::ShownWindows(layout_, simulator)) Redraw(*window);
    totalMilliseconds_ += drawMilliseconds_ + encodeMilliseconds_;
}

void WindowTiles::Redraw(const render::PanelWindow& window) {
    const auto index = static_cast<std::size_t>(&window - layout_.windows.data());
    const auto start = Clock::now();
    WindowPicture& picture = pictures_[index];
    std::string signature = WindowSignature(window, *directory_, renderer_);
    // Most frames change nothing a window shows: then it is not drawn at all.
    if (!picture.tiles.empty() && signature == picture.signature) {
        drawMilliseconds_ += Milliseconds(Clock::now() - start);
        return;
    }
    picture.signature = std::move(signature);
    render::Surface surface = render::DrawWindow(window, *directory_, renderer_);
    const auto drawn = Clock::now();
    UpdateTiles(picture, surface.get());
    drawMilliseconds_ += Milliseconds(drawn - start);
    encodeMilliseconds_ += Milliseconds(Clock::now() - drawn);
}

// Most frames change a few tiles of a window or none.
void WindowTiles::UpdateTiles(WindowPicture& picture, cairo_surface_t* surface) {
    const unsigned char* data = cairo_image_surface_get_data(surface);
    if (data == nullptr) return;
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    if (picture.width != width || picture.height != height || picture.stride != stride) {
        picture.width = width;
        picture.height = height;
        picture.stride = stride;
        picture.columns = (width + WindowPicture::kTileSide - 1) / WindowPicture::kTileSide;
        picture.rows = (height + WindowPicture::kTileSide - 1) / WindowPicture::kTileSide;
        picture.tiles.assign(static_cast<std::size_t>(picture.columns * picture.rows), {});
        picture.pixels.assign(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height), 0);
    }
    for (int row = 0; row < picture.rows; ++row)
        for (int column = 0; column < picture.columns; ++column) {
            WindowPicture::Tile& tile = picture.tiles[static_cast<std::size_t>(row * picture.columns + column)];
            const int x = column * WindowPicture::kTileSide, y = row * WindowPicture::kTileSide;
            const int tileWidth = std::min(WindowPicture::kTileSide, width - x);
            const int tileHeight = std::min(WindowPicture::kTileSide, height - y);
            const std::size_t offset = static_cast<std::size_t>(y) * static_cast<std::size_t>(stride) +
                                       static_cast<std::size_t>(x) * 4;
            const std::size_t rowBytes = static_cast<std::size_t>(tileWidth) * 4;
            bool changed = !tile.png;
            for (int line = 0; line < tileHeight && !changed; ++line) {
                const std::size_t at = offset + static_cast<std::size_t>(line) * static_cast<std::size_t>(stride);
                changed = std::memcmp(picture.pixels.data() + at, data + at, rowBytes) != 0;
            }
            if (!changed) continue;
            for (int line = 0; line < tileHeight; ++line) {
                const std::size_t at = offset + static_cast<std::size_t>(line) * static_cast<std::size_t>(stride);
                std::memcpy(picture.pixels.data() + at, data + at, rowBytes);
            }
            // A view of the tile inside the window's pixels, encoded without copying.
            render::Surface view(cairo_image_surface_create_for_data(picture.pixels.data() + offset, CAIRO_FORMAT_ARGB32,
                                                                     tileWidth, tileHeight, stride));
            tile.png = std::make_shared<const std::string>(EncodePng(view.get()));
            tile.version = ++picture.version;
        }
}

render::Size WindowTiles::WindowSize(const render::PanelWindow& window) {
    return render::WindowSize(window, *directory_, renderer_);
}

std::vector<render::GaugeBox> WindowTiles::GaugeBoxes(const render::PanelWindow& window) {
    return render::GaugeBoxes(window, *directory_, renderer_);
}

const WindowPicture& WindowTiles::Picture(const render::PanelWindow& window) {
    const auto index = static_cast<std::size_t>(&window - layout_.windows.data());
    if (pictures_[index].tiles.empty()) Redraw(window);
    return pictures_[index];
}

std::string WindowTiles::WindowPng(const render::PanelWindow& window) {
    render::Surface surface = render::DrawWindow(window, *directory_, renderer_);
    return EncodePng(surface.get());
}

std::string WindowTiles::GaugePng(const GAUGEHDR& gauge) {
    render::Surface surface = renderer_.DrawGauge(&gauge);
    return EncodePng(surface.get());
}

}  // namespace web
