#include "draw.hpp"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

namespace avrion::artwork {

namespace {

struct LayoutDeleter {
    void operator()(PangoLayout* p) const { g_object_unref(p); }
};
struct FontDeleter {
    void operator()(PangoFontDescription* p) const { pango_font_description_free(p); }
};
using LayoutPtr = std::unique_ptr<PangoLayout, LayoutDeleter>;
using FontPtr = std::unique_ptr<PangoFontDescription, FontDeleter>;

// Slight hinting keeps the small legends crisp; fixed options keep the output the same from run to run.
LayoutPtr MakeLayout(cairo_t* cr, std::string_view text, const Font& font, Align align, double wrapWidth,
                     double lineSpacing) {
    LayoutPtr layout(pango_cairo_create_layout(cr));
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(pango_layout_get_context(layout.get()), options);
    cairo_font_options_destroy(options);
    pango_layout_context_changed(layout.get());

    FontPtr desc(pango_font_description_new());
    pango_font_description_set_family(desc.get(), font.mono ? "DejaVu Sans Mono" : "DejaVu Sans");
    pango_font_description_set_weight(desc.get(),
                                      font.weight == Weight::kBold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    if (font.condensed && !font.mono) pango_font_description_set_stretch(desc.get(), PANGO_STRETCH_CONDENSED);
    pango_font_description_set_absolute_size(desc.get(), font.px * PANGO_SCALE);
    pango_layout_set_font_description(layout.get(), desc.get());

    pango_layout_set_alignment(layout.get(), align == Align::kLeft    ? PANGO_ALIGN_LEFT
                                             : align == Align::kRight ? PANGO_ALIGN_RIGHT
                                                                      : PANGO_ALIGN_CENTER);
    if (wrapWidth > 0.0) {
        pango_layout_set_width(layout.get(), static_cast<int>(wrapWidth * PANGO_SCALE));
        pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD);
    }
    if (lineSpacing != 1.0) pango_layout_set_line_spacing(layout.get(), static_cast<float>(lineSpacing));
    pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
    return layout;
}

void InkSize(PangoLayout* layout, double* w, double* h) {
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    *w = static_cast<double>(logical.width) / PANGO_SCALE;
    *h = static_cast<double>(logical.height) / PANGO_SCALE;
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

Rgb Scale(Rgb c, double k) {
    return {std::clamp(c.r * k, 0.0, 1.0), std::clamp(c.g * k, 0.0, 1.0), std::clamp(c.b * k, 0.0, 1.0)};
}

void SetColour(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void FillRect(cairo_t* cr, double x, double y, double w, double h, Rgb c) {
    cairo_rectangle(cr, x, y, w, h);
    SetColour(cr, c);
    cairo_fill(cr);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2.0, h / 2.0});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void FillRoundedRect(cairo_t* cr, double x, double y, double w, double h, double r, Rgb c) {
    RoundedRect(cr, x, y, w, h, r);
    SetColour(cr, c);
    cairo_fill(cr);
}

void StrokeLine(cairo_t* cr, double x0, double y0, double x1, double y1, double width, Rgb c) {
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_set_line_width(cr, width);
    SetColour(cr, c);
    cairo_stroke(cr);
}

void FillCircle(cairo_t* cr, double cx, double cy, double r, Rgb c) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    SetColour(cr, c);
    cairo_fill(cr);
}

void StrokeCircle(cairo_t* cr, double cx, double cy, double r, double width, Rgb c) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_set_line_width(cr, width);
    SetColour(cr, c);
    cairo_stroke(cr);
}

void RaisedPlate(cairo_t* cr, double x, double y, double w, double h, double r, Rgb face) {
    FillRoundedRect(cr, x, y, w, h, r, Scale(face, 0.6));
    FillRoundedRect(cr, x, y, w - 1, h - 1, r, Scale(face, 1.3));
    FillRoundedRect(cr, x + 1, y + 1, w - 2, h - 2, r, face);
}

void SunkenWell(cairo_t* cr, double x, double y, double w, double h, double r, Rgb inside) {
    FillRoundedRect(cr, x - 1, y - 1, w + 2, h + 2, r + 1, colour::kPanelLight);
    FillRoundedRect(cr, x - 1, y - 1, w + 1, h + 1, r + 1, colour::kPanelDark);
    FillRoundedRect(cr, x, y, w, h, r, inside);
}

void Screw(cairo_t* cr, double cx, double cy, double r, double slotAngleDeg) {
    FillCircle(cr, cx + 0.5, cy + 0.7, r, colour::kPanelDark);
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.4, cy - r * 0.4, 0.0, cx, cy, r);
    cairo_pattern_add_color_stop_rgb(p, 0.0, 0.78, 0.80, 0.78);
    cairo_pattern_add_color_stop_rgb(p, 1.0, 0.38, 0.40, 0.39);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    const double a = Rad(slotAngleDeg);
    StrokeLine(cr, cx - std::cos(a) * r * 0.8, cy - std::sin(a) * r * 0.8, cx + std::cos(a) * r * 0.8,
               cy + std::sin(a) * r * 0.8, std::max(1.0, r * 0.3), Hex(0x2a2d2b));
}

void KnurledKnob(cairo_t* cr, double cx, double cy, double r, Rgb body, int ridges) {
    FillCircle(cr, cx + 1, cy + 1.5, r, Scale(colour::kPanelDark, 0.7));
    FillCircle(cr, cx, cy, r, Scale(body, 0.7));
    cairo_set_line_width(cr, std::max(0.8, r * 0.06));
    for (int i = 0; i < ridges; ++i) {
        const double a = 2 * kPi * i / ridges;
        const double shade = 0.75 + 0.5 * std::cos(a + kPi * 0.75);
        cairo_move_to(cr, cx + std::cos(a) * r * 0.78, cy + std::sin(a) * r * 0.78);
        cairo_line_to(cr, cx + std::cos(a) * r * 0.98, cy + std::sin(a) * r * 0.98);
        SetColour(cr, Scale(body, shade * 1.4));
        cairo_stroke(cr);
    }
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.35, 0.0, cx, cy, r * 0.78);
    const Rgb hi = Scale(body, 1.9), lo = Scale(body, 0.8);
    cairo_pattern_add_color_stop_rgb(p, 0.0, hi.r, hi.g, hi.b);
    cairo_pattern_add_color_stop_rgb(p, 1.0, lo.r, lo.g, lo.b);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r * 0.76, 0, 2 * kPi);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void Glow(cairo_t* cr, double cx, double cy, double r, Rgb c, double alpha) {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0.0, cx, cy, r);
    cairo_pattern_add_color_stop_rgba(p, 0.0, c.r, c.g, c.b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 1.0, c.r, c.g, c.b, 0.0);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
}

void PanelBackground(cairo_t* cr, double w, double h, bool screws) {
    FillRect(cr, 0, 0, w, h, colour::kPanelDark);
    FillRect(cr, 0, 0, w - 1, h - 1, colour::kPanelLight);
    FillRect(cr, 1, 1, w - 2, h - 2, colour::kPanel);
    if (screws) {
        Screw(cr, 9, 9, 4.5, 30);
        Screw(cr, w - 10, 9, 4.5, 75);
        Screw(cr, 9, h - 10, 4.5, 120);
        Screw(cr, w - 10, h - 10, 4.5, 10);
    }
}

double Text(cairo_t* cr, std::string_view text, double x, double y, Font font, Rgb c, Align align, double wrapWidth,
            double lineSpacing, const Rgb* halo) {
    LayoutPtr layout = MakeLayout(cr, text, font, align, wrapWidth, lineSpacing);
    double w = 0, h = 0;
    InkSize(layout.get(), &w, &h);
    double left = x;
    if (wrapWidth > 0.0) {
        // A wrapped block is as wide as its wrap width; x names that box's edge or centre.
        if (align == Align::kCentre) left = x - wrapWidth / 2;
        if (align == Align::kRight) left = x - wrapWidth;
    } else {
        if (align == Align::kCentre) left = x - w / 2;
        if (align == Align::kRight) left = x - w;
    }
    cairo_save(cr);
    cairo_move_to(cr, left, y - h / 2);
    if (halo != nullptr) {
        pango_cairo_layout_path(cr, layout.get());
        SetColour(cr, *halo);
        cairo_set_line_width(cr, 2.5);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
        cairo_move_to(cr, left, y - h / 2);
    }
    SetColour(cr, c);
    pango_cairo_show_layout(cr, layout.get());
    cairo_restore(cr);
    return h;
}

int RuledText(cairo_t* cr, std::string_view text, double x, double firstBaseline, double lineStep, double wrapWidth,
              Font font, Rgb c) {
    LayoutPtr layout = MakeLayout(cr, text, font, Align::kLeft, wrapWidth, 1.0);
    const int lines = pango_layout_get_line_count(layout.get());
    cairo_save(cr);
    SetColour(cr, c);
    for (int i = 0; i < lines; ++i) {
        cairo_move_to(cr, x, firstBaseline + i * lineStep);
        pango_cairo_show_layout_line(cr, pango_layout_get_line_readonly(layout.get(), i));
    }
    cairo_restore(cr);
    return lines;
}

double TextWidth(cairo_t* cr, std::string_view text, Font font) {
    LayoutPtr layout = MakeLayout(cr, text, font, Align::kLeft, 0.0, 1.0);
    double w = 0, h = 0;
    InkSize(layout.get(), &w, &h);
    return w;
}

void FitText(cairo_t* cr, std::string_view text, double cx, double cy, double maxWidth, double maxHeight, Font font,
             Rgb c) {
    for (; font.px > 4.0; font.px -= 0.25) {
        LayoutPtr layout = MakeLayout(cr, text, font, Align::kCentre, 0.0, 1.0);
        double w = 0, h = 0;
        InkSize(layout.get(), &w, &h);
        if (w <= maxWidth && h <= maxHeight) break;
    }
    Text(cr, text, cx, cy, font, c, Align::kCentre);
}

void TextAtAngle(cairo_t* cr, std::string_view text, double cx, double cy, double r, double angleDeg, Font font,
                 Rgb c) {
    const double a = Rad(angleDeg);
    Text(cr, text, cx + std::cos(a) * r, cy + std::sin(a) * r, font, c, Align::kCentre);
}

}  // namespace avrion::artwork
