// Circuit breakers and toggle levers, push-buttons out and in, the illuminated buttons of the fire protection panel,
// guards and covers. Levers and buttons are drawn alone on transparency, so a face supplies what is around them.
#include <cmath>
#include <string>
#include <string_view>

#include "draw.hpp"
#include "painters.hpp"

namespace avrion::artwork {

namespace {

// Toggle lever from its boss at (cx, cy) to the tip, which lies dy away (negative: up). A lever pointing at the
// viewer (dy 0) shows only its round end.
void Lever(cairo_t* cr, double cx, double cy, double dy, double scale) {
    const double boss = 5.5 * scale;
    FillCircle(cr, cx, cy, boss + 1, Hex(0x141615));
    FillCircle(cr, cx, cy, boss, colour::kMetalDark);
    if (dy == 0) {
        FillCircle(cr, cx, cy, 4.6 * scale, Hex(0x1e201f));
        FillCircle(cr, cx - 1.2 * scale, cy - 1.2 * scale, 1.6 * scale, Hex(0x6a6e6b));
        return;
    }
    // The shaft widens towards the viewer, so the tip is drawn larger than the root.
    const double tip = cy + dy, rootW = 2.2 * scale, tipW = 3.6 * scale;
    cairo_move_to(cr, cx - rootW, cy);
    cairo_line_to(cr, cx - tipW, tip);
    cairo_line_to(cr, cx + tipW, tip);
    cairo_line_to(cr, cx + rootW, cy);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(cx - tipW, 0, cx + tipW, 0);
    cairo_pattern_add_color_stop_rgb(p, 0.0, 0.45, 0.47, 0.46);
    cairo_pattern_add_color_stop_rgb(p, 0.4, 0.86, 0.87, 0.85);
    cairo_pattern_add_color_stop_rgb(p, 1.0, 0.36, 0.37, 0.36);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Black bakelite tip.
    const double r = 4.6 * scale;
    FillCircle(cr, cx, tip, r, Hex(0x1a1c1b));
    FillCircle(cr, cx - r * 0.3, tip - r * 0.3, r * 0.35, Hex(0x5d615e));
}

// A push-button cap as seen from the front: rounded square, pressed caps sit lower and lose their highlight.
void CapShape(cairo_t* cr, double x, double y, double w, double h, bool pressed) {
    const double dy = pressed ? 2 : 0, inset = pressed ? 1 : 0;
    RoundedRect(cr, x + inset, y + inset + dy, w - 2 * inset, h - 2 * inset, 4);
}

}  // namespace

void BreakerBody(cairo_t* cr, double x, double y, bool onLabel) {
    // The АЗС: a black body with a slot for the lever, ВКЛ printed above.
    FillRoundedRect(cr, x + 5, y + 13, 20, 35, 3, Hex(0x161817));
    FillRoundedRect(cr, x + 6, y + 14, 18, 33, 2.5, Hex(0x272928));
    FillRoundedRect(cr, x + 11, y + 16, 8, 29, 2, Hex(0x111312));
    if (onLabel) Text(cr, "ВКЛ", x + 15, y + 6.5, {.px = 8, .weight = Weight::kBold}, colour::kLettering);
}

void ToggleLever(cairo_t* cr, double x, double y, int position) { Lever(cr, x + 15, y + 30, position ? -19 : 19, 1.0); }

void ThreeWayLever(cairo_t* cr, double x, double y, int position) {
    Lever(cr, x + 15, y + 30, position == 2 ? -19 : position == 0 ? 19 : 0, 1.0);
}

void SmallButton(cairo_t* cr, double x, double y, bool pressed) {
    const double cx = x + 9, cy = y + 9;
    FillCircle(cr, cx, cy, 8.8, Hex(0x151716));
    StrokeCircle(cr, cx, cy, 7.8, 1.2, colour::kMetalDark);
    const double r = pressed ? 5.6 : 6.3, off = pressed ? 0.6 : 0.0;
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - 2 + off, cy - 2 + off, 0.3, cx, cy, r);
    const double hi = pressed ? 0.22 : 0.42;
    cairo_pattern_add_color_stop_rgb(p, 0.0, hi, hi, hi);
    cairo_pattern_add_color_stop_rgb(p, 1.0, 0.09, 0.09, 0.09);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx + off, cy + off, r, 0, 2 * kPi);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void PpsButtonAt(cairo_t* cr, double x, double y, PpsButton button, bool lit, bool pressed) {
    static const char* const kLegend[] = {"НЕЙТР\nГАЗ", "ОГНЕТ\nВСУ", "I\nОЧЕР",    "II\nОЧЕР",
                                          "III\nОЧЕР",  "КРАН\nДВ 1", "КРАН\nДВ 2", "КРАН\nДВ 3"};
    const bool stage = button == kStage1 || button == kStage2 || button == kStage3;
    const Rgb glow = button == kNeutralGas ? colour::kGreenLit : stage ? colour::kRedLit : colour::kAmberLit;
    const double cx = x + 5, cy = y + 5, cw = 36, ch = 38;
    if (!lit) {
        // Bezel: a dark square frame whose lower edge shows the travel of the cap.
        FillRoundedRect(cr, x + 0.5, y + 0.5, 45, 49, 5, Hex(0x131514));
        FillRoundedRect(cr, x + 2, y + 2, 42, 46, 4, colour::kMetalDark);
        FillRoundedRect(cr, x + 3.5, y + 3.5, 39, 43, 3.5, Hex(0x1b1d1c));
        if (!pressed) FillRoundedRect(cr, cx, cy + 3, cw, ch, 4, Hex(0x0e100f));  // the cap's side below it
    }
    CapShape(cr, cx, cy, cw, ch, pressed);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, cy, 0, cy + ch);
    if (lit) {
        const Rgb hot = Mix(glow, colour::kWhiteLit, pressed ? 0.35 : 0.5);
        const Rgb rim = Scale(glow, pressed ? 0.75 : 0.9);
        cairo_pattern_add_color_stop_rgb(p, 0.0, hot.r, hot.g, hot.b);
        cairo_pattern_add_color_stop_rgb(p, 1.0, rim.r, rim.g, rim.b);
    } else {
        const Rgb glass = Mix(Scale(glow, 0.22), Hex(0x303232), 0.5);
        const Rgb top = Scale(glass, pressed ? 1.0 : 1.45), bottom = Scale(glass, 0.75);
        cairo_pattern_add_color_stop_rgb(p, 0.0, top.r, top.g, top.b);
        cairo_pattern_add_color_stop_rgb(p, 1.0, bottom.r, bottom.g, bottom.b);
    }
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    const Rgb ink = lit ? Scale(glow, 0.2) : Scale(colour::kLettering, pressed ? 0.6 : 0.78);
    FitText(cr, kLegend[button], cx + cw / 2, cy + ch / 2 + (pressed ? 2 : 0) + 0.5, cw - 5, ch - 6,
            {.px = 11, .weight = Weight::kBold}, ink);
}

void SirenGuard(cairo_t* cr, double x, double y) {
    // A red bracket round the switch with the cover's hinge block across its top.
    FillRoundedRect(cr, x + 13, y + 34, 24, 42, 3, Hex(0x161817));  // the switch's own body
    FillRoundedRect(cr, x + 18, y + 38, 14, 34, 2, Hex(0x0f1110));
    for (double gx : {x + 3.0, x + 40.0}) {
        FillRoundedRect(cr, gx, y + 14, 7, 86, 2.5, Scale(colour::kWarningRed, 0.6));
        FillRoundedRect(cr, gx, y + 14, 6, 85, 2.5, colour::kWarningRed);
    }
    FillRoundedRect(cr, x + 3, y + 94, 44, 7, 2.5, Scale(colour::kWarningRed, 0.8));
    FillRoundedRect(cr, x + 2, y + 6, 46, 9, 3, colour::kMetalDark);
    StrokeLine(cr, x + 4, y + 8, x + 46, y + 8, 1.2, colour::kMetal);
}

void SirenLever(cairo_t* cr, double x, double y, bool up) { Lever(cr, x + 25, y + 55, up ? -22 : 22, 1.25); }

void SirenCover(cairo_t* cr, double x, double y, bool closed) {
    if (closed) {
        // The red lid down over the switch, with a moulded rim and a finger tab at the bottom.
        FillRoundedRect(cr, x + 4, y + 12, 43, 86, 5, Scale(colour::kWarningRed, 0.45));
        cairo_pattern_t* p = cairo_pattern_create_linear(x + 4, 0, x + 46, 0);
        cairo_pattern_add_color_stop_rgb(p, 0.0, 0.62, 0.14, 0.11);
        cairo_pattern_add_color_stop_rgb(p, 0.35, 0.90, 0.26, 0.20);
        cairo_pattern_add_color_stop_rgb(p, 1.0, 0.55, 0.12, 0.10);
        RoundedRect(cr, x + 4, y + 11, 42, 85, 5);
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
        RoundedRect(cr, x + 9, y + 18, 32, 70, 4);
        cairo_set_line_width(cr, 1.2);
        SetColour(cr, Scale(colour::kWarningRed, 0.55));
        cairo_stroke(cr);
        FillRoundedRect(cr, x + 15, y + 92, 20, 8, 3, Scale(colour::kWarningRed, 0.7));
    } else {
        // Swung up past the hinge: only the underside shows above it, foreshortened.
        FillRoundedRect(cr, x + 4, y + 0.5, 42, 9, 3, Scale(colour::kWarningRed, 0.5));
        FillRoundedRect(cr, x + 6, y + 2, 38, 5, 2, Scale(colour::kWarningRed, 0.75));
    }
    FillRoundedRect(cr, x + 2, y + 6, 46, 9, 3, colour::kMetalDark);  // hinge barrel, over the lid's edge
    StrokeLine(cr, x + 4, y + 8, x + 46, y + 8, 1.2, colour::kMetal);
}

void ItvButton(cairo_t* cr, double x, double y, bool pressed) {
    const double cx = x + 18, cy = y + 18;
    FillCircle(cr, cx, cy, 17.5, Hex(0x151716));
    StrokeCircle(cr, cx, cy, 15.5, 2.0, colour::kMetalDark);
    const double r = pressed ? 11.0 : 12.5, off = pressed ? 1.0 : 0.0;
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - 4 + off, cy - 4 + off, 0.5, cx, cy, r);
    const double hi = pressed ? 0.24 : 0.44;
    cairo_pattern_add_color_stop_rgb(p, 0.0, hi, hi, hi);
    cairo_pattern_add_color_stop_rgb(p, 1.0, 0.1, 0.1, 0.1);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx + off, cy + off, r, 0, 2 * kPi);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void ItvCover(cairo_t* cr) {
    // The lid hangs from the hinge along the label band and hides all four buttons.
    const double x = 36, y = 138, w = 178, h = 80;
    FillRoundedRect(cr, x + 1, y + 2, w, h, 6, colour::kPanelDark);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(p, 0.0, 0.42, 0.49, 0.45);
    cairo_pattern_add_color_stop_rgb(p, 1.0, 0.27, 0.33, 0.30);
    RoundedRect(cr, x, y, w, h, 6);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    RoundedRect(cr, x + 5, y + 12, w - 10, h - 18, 4);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, colour::kPanelLight);
    cairo_stroke(cr);
    FillRoundedRect(cr, x - 1, y - 4, w + 2, 9, 3, colour::kMetalDark);
    StrokeLine(cr, x + 1, y - 2, x + w - 1, y - 2, 1.2, colour::kMetal);
    Text(cr, "УСТАНОВКА ВРЕМЕНИ", x + w / 2, y + 36, {.px = 12, .weight = Weight::kBold}, colour::kLettering);
    Text(cr, "открыть — правой кнопкой", x + w / 2, y + 56, {.px = 9.5, .weight = Weight::kRegular},
         Scale(colour::kLettering, 0.8));
}

void So72Switch(cairo_t* cr, double x, double y, bool right) {
    // A horizontal toggle: the lever lies along the slot towards the chosen side.
    const double cx = x + 19, cy = y + 7;
    const double tip = right ? x + 33 : x + 5;
    cairo_move_to(cr, cx, cy - 1.8);
    cairo_line_to(cr, tip, cy - 2.8);
    cairo_line_to(cr, tip, cy + 2.8);
    cairo_line_to(cr, cx, cy + 1.8);
    cairo_close_path(cr);
    SetColour(cr, Hex(0xc8cac6));
    cairo_fill(cr);
    FillCircle(cr, cx, cy, 4.5, colour::kMetalDark);
    FillCircle(cr, tip, cy, 4.3, Hex(0x1a1c1b));
    FillCircle(cr, tip - 1.3, cy - 1.3, 1.4, Hex(0x5d615e));
}

void A723EnterKey(cairo_t* cr, double x, double y, bool lit) {
    const Rgb on = colour::kAmberLit, off = colour::kAmberDark;
    FillRect(cr, x, y, 36, 16, Hex(0x161817));
    if (lit) {
        cairo_save(cr);
        cairo_rectangle(cr, x + 1, y + 1, 34, 14);
        cairo_clip(cr);
        FillRect(cr, x + 1, y + 1, 34, 14, on);
        Glow(cr, x + 18, y + 8, 18, colour::kWhiteLit, 0.55);
        cairo_restore(cr);
    } else {
        FillRect(cr, x + 1, y + 1, 34, 14, off);
    }
    Text(cr, "ВВОД", x + 18, y + 8.5, {.px = 10.5, .weight = Weight::kBold}, lit ? Scale(on, 0.2) : Scale(off, 1.6));
}

void KeyCap(cairo_t* cr, double x, double y, double w, double h, const char* small, const char* big) {
    FillRoundedRect(cr, x + 1, y + 2, w, h, 5, Hex(0x1a201d));
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(p, 0.0, 0.26, 0.28, 0.27);
    cairo_pattern_add_color_stop_rgb(p, 1.0, 0.13, 0.14, 0.14);
    RoundedRect(cr, x, y, w, h, 5);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    RoundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 5);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, Hex(0x4c504e));
    cairo_stroke(cr);
    const bool hasSmall = small != nullptr && *small != '\0';
    if (hasSmall) Text(cr, small, x + w / 2, y + 12, {.px = 10, .weight = Weight::kBold}, colour::kLettering);
    if (big != nullptr && *big != '\0') {
        const bool digit = std::string_view(big).size() == 1;
        FitText(cr, big, x + w / 2, hasSmall ? y + h * 0.62 : y + h / 2, w - 8, h - 8,
                {.px = digit ? 20.0 : 12.0, .weight = Weight::kBold}, colour::kLettering);
    }
}

}  // namespace avrion::artwork
