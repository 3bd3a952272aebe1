// Seven-segment figures of the A-723 and the KAI_487 drums, and the rolling drums of the ITV clock and the SO72 code.
#include <array>
#include <cmath>
#include <string>

#include "draw.hpp"
#include "painters.hpp"

namespace avrion::artwork {

namespace {

// Segments a to g, clockwise from the top, g in the middle.
constexpr std::array<unsigned char, 10> kSegmentsOf{0x3f, 0x06, 0x5b, 0x4f, 0x66, 0x6d, 0x7d, 0x07, 0x7f, 0x6f};

constexpr double kSegW = 19.0, kSegH = 34.0, kThick = 4.2, kSlant = 0.09;

// One bar between two points, with pointed ends like a real segment.
void SegmentBar(cairo_t* cr, double x0, double y0, double x1, double y1) {
    const double half = kThick / 2, gap = 0.8;
    const bool horizontal = std::abs(y1 - y0) < 1e-9;
    auto pt = [&](double px, double py) { cairo_line_to(cr, px - (py - 22.0) * kSlant, py); };
    cairo_new_path(cr);
    if (horizontal) {
        x0 += gap, x1 -= gap;
        cairo_move_to(cr, x0 - (y0 - 22.0) * kSlant, y0);
        pt(x0 + half, y0 - half), pt(x1 - half, y0 - half), pt(x1, y0), pt(x1 - half, y0 + half);
        pt(x0 + half, y0 + half);
    } else {
        y0 += gap, y1 -= gap;
        cairo_move_to(cr, x0 - (y0 - 22.0) * kSlant, y0);
        pt(x0 + half, y0 + half), pt(x0 + half, y1 - half), pt(x0, y1), pt(x0 - half, y1 - half);
        pt(x0 - half, y0 + half);
    }
    cairo_close_path(cr);
}

void Segments(cairo_t* cr, double ox, double oy, unsigned mask, Rgb c) {
    const double l = 5.0 + kThick / 2, r = l + kSegW - kThick, t = 5.0, m = t + kSegH / 2, b = t + kSegH;
    const std::array<std::array<double, 4>, 7> bars{{
        {l, t, r, t},  // a
        {r, t, r, m},  // b
        {r, m, r, b},  // c
        {l, b, r, b},  // d
        {l, m, l, b},  // e
        {l, t, l, m},  // f
        {l, m, r, m},  // g
    }};
    cairo_save(cr);
    cairo_translate(cr, ox, oy);
    for (int i = 0; i < 7; ++i) {
        if (!(mask & (1u << i))) continue;
        SegmentBar(cr, bars[i][0], bars[i][1], bars[i][2], bars[i][3]);
        SetColour(cr, c);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

}  // namespace

void SegmentDigit(cairo_t* cr, double x, double y, int digit) {
    FillRect(cr, x, y, 29, 44, colour::kGlass);
    Segments(cr, x, y, 0x7f, colour::kSegmentGhost);
    if (digit < 0 || digit > 9) return;
    cairo_save(cr);
    cairo_rectangle(cr, x, y, 29, 44);
    cairo_clip(cr);
    Glow(cr, x + 14.5, y + 22, 22, colour::kSegmentRed, 0.18);
    cairo_restore(cr);
    Segments(cr, x, y, kSegmentsOf[digit], colour::kSegmentRed);
}

void MachMarker(cairo_t* cr, double x, double y, bool lit) {
    FillRect(cr, x, y, 26, 44, colour::kGlass);
    const Rgb c = lit ? colour::kSegmentRed : colour::kSegmentGhost;
    Text(cr, "M", x + 12, y + 20, {.px = 19, .weight = Weight::kBold, .condensed = true}, c);
    FillRect(cr, x + 20, y + 36, 4, 4, c);  // the decimal point: the drums read hundredths of Mach
}

void DrumDigit(cairo_t* cr, double x, double y, double w, double h, int digit) {
    // A drum seen through its window: lighter at the middle of the cylinder, dark where it turns away.
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(p, 0.0, 0.05, 0.05, 0.05);
    cairo_pattern_add_color_stop_rgb(p, 0.22, 0.14, 0.14, 0.14);
    cairo_pattern_add_color_stop_rgb(p, 0.5, 0.19, 0.19, 0.18);
    cairo_pattern_add_color_stop_rgb(p, 0.78, 0.14, 0.14, 0.14);
    cairo_pattern_add_color_stop_rgb(p, 1.0, 0.05, 0.05, 0.05);
    cairo_rectangle(cr, x, y, w, h);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Edges of the neighbouring figures peek in above and below.
    StrokeLine(cr, x + w * 0.3, y + 1.5, x + w * 0.7, y + 1.5, 1.2, Hex(0x3c3c3a));
    StrokeLine(cr, x + w * 0.3, y + h - 1.5, x + w * 0.7, y + h - 1.5, 1.2, Hex(0x3c3c3a));
    const std::string text(1, static_cast<char>('0' + digit));
    Text(cr, text, x + w / 2, y + h / 2, {.px = h * 0.74, .weight = Weight::kBold, .condensed = true},
         colour::kLettering);
}

}  // namespace avrion::artwork
