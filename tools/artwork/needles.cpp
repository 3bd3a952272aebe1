// Needles, index markers and knob pointers. Every one points to the right (+x) from its pivot, which sits where the
// element's offset point puts it; the simulator turns the bitmap about that point. Everything around is transparent.
#include <cmath>

#include "draw.hpp"
#include "painters.hpp"

namespace avrion::artwork {

namespace {

// A chicken-head selector: a round skirt at the pivot and a tapered pointer out to tipX.
void PointerKnob(cairo_t* cr, double px, double py, double skirt, double tipX, double width) {
    // Shadow, skirt, pointer body, then the white index line along the pointer.
    cairo_save(cr);
    cairo_translate(cr, 0.8, 1.2);
    FillCircle(cr, px, py, skirt, Hex(0x101211));
    cairo_restore(cr);
    cairo_move_to(cr, px, py - width / 2);
    cairo_line_to(cr, tipX - width * 0.35, py - width * 0.28);
    cairo_arc(cr, tipX - width * 0.35, py, width * 0.28, -kPi / 2, kPi / 2);
    cairo_line_to(cr, px, py + width / 2);
    cairo_close_path(cr);
    SetColour(cr, Hex(0x262827));
    cairo_fill(cr);
    KnurledKnob(cr, px, py, skirt, Hex(0x2b2d2c), 18);
    StrokeLine(cr, px + skirt * 0.35, py, tipX - width * 0.3, py, std::max(1.2, width * 0.2), colour::kLettering);
}

}  // namespace

void SelectorPointer(cairo_t* cr) { PointerKnob(cr, 25, 11, 10, 56, 8); }

void So72Needle(cairo_t* cr) { PointerKnob(cr, 32, 19, 16.5, 68, 11); }

void ItvKnob(cairo_t* cr) {
    KnurledKnob(cr, 21, 21, 17, Hex(0x2b2d2c), 28);
    StrokeLine(cr, 25, 21, 37, 21, 2.2, colour::kLettering);
}

void KaiKnob(cairo_t* cr, int which) {
    (void)which;  // both knobs look alike; each index marker has its own colour
    KnurledKnob(cr, 23, 23, 21.5, Hex(0x2b2d2c), 36);
    StrokeLine(cr, 27, 23, 42, 23, 2.6, colour::kLettering);
}

void KaiMarker(cairo_t* cr, int which) {
    // A triangular index on the outer rim, pointing in at the scale. The stalk back to the pivot is transparent.
    const Rgb body = which == 0 ? Hex(0xf2c21b) : Hex(0x39c6e0);
    cairo_move_to(cr, 117, 11);
    cairo_line_to(cr, 136, 2.5);
    cairo_line_to(cr, 136, 19.5);
    cairo_close_path(cr);
    SetColour(cr, Scale(body, 0.55));
    cairo_fill(cr);
    cairo_move_to(cr, 119, 11);
    cairo_line_to(cr, 135, 4);
    cairo_line_to(cr, 135, 18);
    cairo_close_path(cr);
    SetColour(cr, body);
    cairo_fill(cr);
}

void KaiNeedle(cairo_t* cr, int which) {
    const double px = 21, py = 18;
    if (which == 0) {
        // Speed: a white lance with a black counterweight tail and a black hub.
        cairo_move_to(cr, 2, py - 4.5);
        cairo_line_to(cr, px, py - 3.5);
        cairo_line_to(cr, 126, py - 1.2);
        cairo_line_to(cr, 130, py);
        cairo_line_to(cr, 126, py + 1.2);
        cairo_line_to(cr, px, py + 3.5);
        cairo_line_to(cr, 2, py + 4.5);
        cairo_close_path(cr);
        SetColour(cr, colour::kLettering);
        cairo_fill(cr);
        FillRoundedRect(cr, 1, py - 5, px + 2, 10, 2, Hex(0x1e201f));
        FillCircle(cr, px, py, 8.5, Hex(0x1e201f));
        FillCircle(cr, px, py, 3.5, colour::kMetalDark);
    } else {
        // Limit speed: a thinner striped needle, red and white, with no tail.
        cairo_move_to(cr, px, py - 2.6);
        cairo_line_to(cr, 124, py - 1.4);
        cairo_line_to(cr, 127, py);
        cairo_line_to(cr, 124, py + 1.4);
        cairo_line_to(cr, px, py + 2.6);
        cairo_close_path(cr);
        cairo_save(cr);
        cairo_clip_preserve(cr);
        SetColour(cr, colour::kLettering);
        cairo_fill(cr);
        for (double s = px + 12; s < 127; s += 12) FillRect(cr, s, 0, 6, 36, colour::kWarningRed);
        cairo_restore(cr);
        FillCircle(cr, px, py, 6.5, colour::kWarningRed);
    }
}

void A723Knob(cairo_t* cr) {
    const double c = 56;
    // Skirt with a knurled rim, and a bar grip that ends in the pointer on the right.
    cairo_save(cr);
    cairo_translate(cr, 1.2, 1.8);
    FillCircle(cr, c, c, 40, Hex(0x0f1010));
    cairo_restore(cr);
    KnurledKnob(cr, c, c, 40, Hex(0x242625), 48);
    cairo_move_to(cr, 16, c - 11);
    cairo_line_to(cr, 92, c - 11);
    cairo_line_to(cr, 108, c);
    cairo_line_to(cr, 92, c + 11);
    cairo_line_to(cr, 16, c + 11);
    cairo_arc_negative(cr, 16, c, 11, kPi / 2, -kPi / 2);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, c - 11, 0, c + 11);
    cairo_pattern_add_color_stop_rgb(p, 0.0, 0.30, 0.31, 0.30);
    cairo_pattern_add_color_stop_rgb(p, 0.45, 0.17, 0.18, 0.17);
    cairo_pattern_add_color_stop_rgb(p, 1.0, 0.09, 0.09, 0.09);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    StrokeLine(cr, 70, c, 101, c, 3.0, colour::kLettering);
}

}  // namespace avrion::artwork
