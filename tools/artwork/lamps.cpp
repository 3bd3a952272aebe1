// Lamps and annunciators, unlit and lit. A legend lamp is coloured glass with dark lettering that can only be read
// well when the lamp burns; the unlit glass is what the faces show beneath the lit icons.
#include <cmath>
#include <string>

#include "draw.hpp"
#include "painters.hpp"

namespace avrion::artwork {

namespace {

struct Legend {
    const char* text;
    Rgb lit;
    Rgb dark;
};

Legend PpsLegend(PpsLampLegend l) {
    using namespace colour;
    switch (l) {
        case kLampSwitchOn:
            return {"ВКЛЮЧИ\nППС", kAmberLit, kAmberDark};
        case kLampApuFire:
            return {"ПОЖАР\nВСУ", kRedLit, kRedDark};
        case kLampFuelClosed:
            return {"ПК\nЗАКРЫТ", kAmberLit, kAmberDark};
        case kLampCheck:
            return {"К\nО\nН\nТ\nР", kAmberLit, kAmberDark};
        case kLampOverheat:
            return {"ПЕРЕ-\nГРЕВ", kAmberLit, kAmberDark};
        case kLampEngineFire:
            return {"ПОЖАР", kRedLit, kRedDark};
        case kLampSmoke:
            return {"ДЫМ", kRedLit, kRedDark};
        case kLampZone2Left:
            return {"◄ II", kAmberLit, kAmberDark};
        case kLampZone2Right:
            return {"II ►", kAmberLit, kAmberDark};
        case kLampZone3:
            return {"III", kAmberLit, kAmberDark};
        case kLampZone4:
            return {"IV", kAmberLit, kAmberDark};
        case kLampZone5Left:
            return {"◄ V", kAmberLit, kAmberDark};
        case kLampZone5Right:
            return {"V ►", kAmberLit, kAmberDark};
        case kLampZone6:
            return {"VI", kAmberLit, kAmberDark};
    }
    return {"", kAmberLit, kAmberDark};
}

const char* A723Legend(A723Lamp l) {
    switch (l) {
        case kA723To:
            return "НА";
        case kA723From:
            return "ОТ";
        case kA723Failure:
            return "ОТКАЗ";
        case kA723Reckoning:
            return "СЧИСЛ";
        case kA723North:
            return "СЕВ";
        case kA723Sync:
            return "СИНХР";
        case kA723Stop:
            return "СТОП";
        case kA723Precise:
            return "ТОЧН";
        case kA723East:
            return "ВОСТ";
        case kA723South:
            return "ЮГ";
        case kA723West:
            return "ЗАП";
        case kA723Zone:
            return "ЗОНА";
    }
    return "";
}

// Rectangular coloured glass in a thin black frame, lettered.
void LegendGlass(cairo_t* cr, double x, double y, double w, double h, const char* text, Rgb lit, Rgb dark, bool on,
                 double px) {
    FillRect(cr, x, y, w, h, colour::kBezel);
    const double gx = x + 1, gy = y + 1, gw = w - 2, gh = h - 2;
    if (on) {
        cairo_pattern_t* p =
            cairo_pattern_create_radial(gx + gw / 2, gy + gh / 2, 0, gx + gw / 2, gy + gh / 2, std::max(gw, gh) * 0.7);
        const Rgb hot = Mix(lit, colour::kWhiteLit, 0.45);
        cairo_pattern_add_color_stop_rgb(p, 0.0, hot.r, hot.g, hot.b);
        cairo_pattern_add_color_stop_rgb(p, 1.0, lit.r, lit.g, lit.b);
        cairo_rectangle(cr, gx, gy, gw, gh);
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    } else {
        FillRect(cr, gx, gy, gw, gh, dark);
        StrokeLine(cr, gx, gy + 0.5, gx + gw, gy + 0.5, 1.0, Scale(dark, 1.5));
    }
    const Rgb ink = on ? Scale(lit, 0.18) : Scale(dark, 1.45);
    cairo_save(cr);
    cairo_rectangle(cr, gx, gy, gw, gh);
    cairo_clip(cr);
    FitText(cr, text, gx + gw / 2, gy + gh / 2 + 0.5, gw - 2, gh, {.px = px, .weight = Weight::kBold}, ink);
    cairo_restore(cr);
}

}  // namespace

void PpsLamp(cairo_t* cr, double x, double y, double w, double h, PpsLampLegend legend, bool lit) {
    const Legend l = PpsLegend(legend);
    LegendGlass(cr, x, y, w, h, l.text, l.lit, l.dark, lit, legend == kLampCheck ? 7.5 : 9.0);
}

void RoundLampAt(cairo_t* cr, double x, double y, RoundLamp lamp) {
    const bool red = lamp == kRoundRedUnlit || lamp == kRoundRedLit;
    const bool lit = lamp == kRoundRedLit || lamp == kRoundAmberLit;
    const Rgb on = red ? colour::kRedLit : colour::kAmberLit;
    const Rgb off = red ? colour::kRedDark : colour::kAmberDark;
    const double cx = x + 10, cy = y + 10;
    // Knurled bezel ring, then the domed lens.
    FillCircle(cr, cx, cy, 9.6, colour::kBezel);
    StrokeCircle(cr, cx, cy, 8.4, 1.4, colour::kMetalDark);
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - 2, cy - 2.5, 0.5, cx, cy, 6.6);
    const Rgb centre = lit ? Mix(on, colour::kWhiteLit, 0.7) : Scale(off, 1.9);
    const Rgb edge = lit ? on : Scale(off, 0.8);
    cairo_pattern_add_color_stop_rgb(p, 0.0, centre.r, centre.g, centre.b);
    cairo_pattern_add_color_stop_rgb(p, 1.0, edge.r, edge.g, edge.b);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, 6.6, 0, 2 * kPi);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    if (!lit) FillCircle(cr, cx - 2.2, cy - 2.4, 1.3, Hex(0xb0aca4));  // reflection on the dark lens
}

void WaterLamp(cairo_t* cr, double x, double y, int band) {
    static const char* const kText[] = {"0", "1/4", "1/2", "1"};
    const bool lit = band >= 0 && band <= 3;
    const Rgb on = band == 0 ? colour::kAmberLit : colour::kGreenLit;
    const Rgb off = colour::kGreenDark;
    LegendGlass(cr, x, y, 26, 13, lit ? kText[band] : "", on, off, lit, 10.5);
}

void A723LampAt(cairo_t* cr, double x, double y, double w, double h, A723Lamp lamp, bool lit) {
    FillRect(cr, x, y, w, h, colour::kGlass);
    const char* text = A723Legend(lamp);
    const Font font{.px = h * 0.72, .weight = Weight::kBold, .condensed = true};
    if (lit) {
        cairo_save(cr);
        cairo_rectangle(cr, x, y, w, h);
        cairo_clip(cr);
        Glow(cr, x + w / 2, y + h / 2, w * 0.55, colour::kSegmentRed, 0.22);
        cairo_restore(cr);
    }
    FitText(cr, text, x + w / 2, y + h / 2 + 0.5, w - 4, h, font, lit ? colour::kSegmentRed : colour::kSegmentGhost);
}

void A723Minus(cairo_t* cr, double x, double y, bool lit) {
    FillRect(cr, x, y, 26, 12, colour::kGlass);
    FillRoundedRect(cr, x + 3, y + 4, 20, 4.2, 1.5, lit ? colour::kSegmentRed : colour::kSegmentGhost);
}

void A723Dot(cairo_t* cr, double x, double y, bool lit) {
    FillRect(cr, x, y, 11, 12, colour::kGlass);
    FillCircle(cr, x + 5.5, y + 7, 2.6, lit ? colour::kSegmentRed : colour::kSegmentGhost);
}

void So72ReplyLamp(cairo_t* cr, double x, double y, int state) {
    // A tall lamp: a dark cap with a domed green lens.
    FillRoundedRect(cr, x, y, 22, 33, 5, colour::kBezel);
    StrokeLine(cr, x + 3, y + 1.5, x + 19, y + 1.5, 1.0, colour::kMetalDark);
    const double cx = x + 11, cy = y + 16.5;
    const bool lit = state >= 0;
    const Rgb on = colour::kGreenLit;
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - 2, cy - 5, 0.5, cx, cy, 13);
    const Rgb centre = lit ? Mix(on, colour::kWhiteLit, state == 1 ? 0.85 : 0.55) : Scale(colour::kGreenDark, 1.8);
    const Rgb edge = lit ? Scale(on, state == 1 ? 1.0 : 0.8) : Scale(colour::kGreenDark, 0.8);
    cairo_pattern_add_color_stop_rgb(p, 0.0, centre.r, centre.g, centre.b);
    cairo_pattern_add_color_stop_rgb(p, 1.0, edge.r, edge.g, edge.b);
    RoundedRect(cr, x + 3.5, y + 3.5, 15, 26, 7);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    if (!lit) FillCircle(cr, cx - 3, cy - 7, 1.4, Hex(0xb0aca4));
}

// The two signal lamps of the cabin-pressure panel, lower left of the face.
void ArdSignalLamp(cairo_t* cr, int signal, bool lit) {
    const double x = signal == 0 ? 24 : 104, y = 222, w = 72, h = 34;
    const char* text = signal == 0 ? "ВЫСОТА\nКАБИНЫ" : "ПЕРЕПАД\nВЕЛИК";
    LegendGlass(cr, x, y, w, h, text, signal == 0 ? colour::kAmberLit : colour::kRedLit,
                signal == 0 ? colour::kAmberDark : colour::kRedDark, lit, 11);
}

void KaiOffFlag(cairo_t* cr, double x, double y) {
    // Red and white stripes: the instrument is not to be read.
    FillRect(cr, x, y, 36, 20, colour::kBezel);
    cairo_save(cr);
    cairo_rectangle(cr, x + 1, y + 1, 34, 18);
    cairo_clip(cr);
    FillRect(cr, x + 1, y + 1, 34, 18, colour::kLettering);
    SetColour(cr, colour::kWarningRed);
    for (double s = -20; s < 40; s += 10) {
        cairo_move_to(cr, x + s, y + 20);
        cairo_line_to(cr, x + s + 5, y + 20);
        cairo_line_to(cr, x + s + 25, y);
        cairo_line_to(cr, x + s + 20, y);
        cairo_close_path(cr);
    }
    cairo_fill(cr);
    cairo_restore(cr);
}

// The BI lamp sits at the right end of both 1024-pixel strips; the rest of a strip is transparent.
void BiLamp(cairo_t* cr, bool lit) {
    const double x = 952, y = 24, w = 56, h = 38;
    FillRoundedRect(cr, x - 4, y - 4, w + 8, h + 8, 4, colour::kPanelDark);
    FillRoundedRect(cr, x - 3, y - 3, w + 6, h + 6, 3, colour::kPanel);
    LegendGlass(cr, x, y, w, h, "БИ", colour::kAmberLit, colour::kAmberDark, lit, 20);
}

}  // namespace avrion::artwork
