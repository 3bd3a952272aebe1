// Panel windows as FS9's panel.cfg describes them:
//
//   [Window Titles]
//   Window00=Main panel
//
//   [Window00]
//   ident=10000              number the simulator's window toggle (PANELS slot 35) names the window by
//   size_mm=1400,900         the window's size in panel pixels; without it, the box round its gauges
//   visible=1                shown when the simulator starts (the default)
//   background_color=40,44,48
//   gauge00=Kesta_Avrion_0_018!PPS, 0, 0, 545, 412    module!gauge, x, y[, width[, height[, parameters]]]
//
// Gauges are drawn in the order they are listed; a width alone keeps the gauge's proportions. Sections and keys are
// matched without regard to case; other sections and keys (views, file=, position=, window_size=, ...) are the
// simulator's screen placement and are not read. Lines starting with ';', '#' or '//' are comments.
//
// The file is parsed with inih's C interface rather than its INIReader, which keeps values in a map: the order of
// the gauge lines, their line numbers and repeated keys would all be lost.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace render {

struct GaugePlacement {
    std::string module;  // as written before the '!'
    std::string gauge;
    int x = 0;
    int y = 0;
    std::optional<int> width;  // scale the gauge's background to these
    std::optional<int> height;
    std::string parameters;  // the rest of the line after the height, handed to the gauge
    int line = 0;            // where the layout names it
};

struct PanelWindow {
    int number = 0;  // NN of [WindowNN]
    std::string title;
    std::uint32_t ident = 0;
    std::optional<int> width;  // size_mm
    std::optional<int> height;
    bool visible = true;
    std::uint32_t backgroundRgb = 0x28'2C'30;  // 0xRRGGBB
    std::vector<GaugePlacement> gauges;        // in drawing order
    int line = 0;                              // of the window's first key
};

struct PanelLayout {
    std::string source;                // the file, for messages
    std::vector<PanelWindow> windows;  // by window number

    const PanelWindow* FindByIdent(std::uint32_t ident) const;
};

// Each returns an empty string on success, else "file:line: what is wrong" (no line for a file that cannot be read).
std::string ReadPanelLayout(const std::string& path, PanelLayout& layout);
std::string ParsePanelLayout(const std::string& text, const std::string& sourceName, PanelLayout& layout);

// The idents of the windows that start shown (visible=1): the caller shows them in the simulator at start.
std::vector<std::uint32_t> InitiallyVisibleIdents(const PanelLayout& layout);

}  // namespace render
