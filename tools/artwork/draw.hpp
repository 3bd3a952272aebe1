// Shared drawing helpers: the panel's colours, shapes that recur on every face, and text set with Pango.
#pragma once

#include <cairo.h>

#include <string_view>

namespace avrion::artwork {

struct Rgb {
    double r, g, b;
};

constexpr Rgb Hex(unsigned v) { return {((v >> 16) & 0xff) / 255.0, ((v >> 8) & 0xff) / 255.0, (v & 0xff) / 255.0}; }

// The palette of an older Soviet-style panel. None is pure black: that is the transparent colour.
namespace colour {
inline constexpr Rgb kPanel = Hex(0x4a5a52);         // grey-green enamel
inline constexpr Rgb kPanelLight = Hex(0x63756b);    // bevel highlight
inline constexpr Rgb kPanelDark = Hex(0x2f3a35);     // bevel shadow, recesses
inline constexpr Rgb kLettering = Hex(0xecece4);     // white paint
inline constexpr Rgb kInstrument = Hex(0x1c1e1d);    // instrument black
inline constexpr Rgb kBezel = Hex(0x2a2c2b);         // bezels and bodies
inline constexpr Rgb kMetal = Hex(0x9a9e9a);         // bare metal
inline constexpr Rgb kMetalDark = Hex(0x5c605d);     //
inline constexpr Rgb kGlass = Hex(0x140f0f);         // dark display glass
inline constexpr Rgb kRedLit = Hex(0xff3a24);        //
inline constexpr Rgb kRedDark = Hex(0x4a1612);       //
inline constexpr Rgb kAmberLit = Hex(0xffb21c);      //
inline constexpr Rgb kAmberDark = Hex(0x4d3a14);     //
inline constexpr Rgb kGreenLit = Hex(0x5cff6a);      //
inline constexpr Rgb kGreenDark = Hex(0x1d3d22);     //
inline constexpr Rgb kWhiteLit = Hex(0xfff6da);      //
inline constexpr Rgb kSegmentRed = Hex(0xff2a1a);    // lit seven-segment figure
inline constexpr Rgb kSegmentGhost = Hex(0x2c1614);  // unlit segment behind the glass
inline constexpr Rgb kPaper = Hex(0xf1ead6);         // message sheets
inline constexpr Rgb kInk = Hex(0x1d2430);           //
inline constexpr Rgb kWarningRed = Hex(0xc8281e);    // covers and guards
}  // namespace colour

Rgb Mix(Rgb a, Rgb b, double t);
Rgb Scale(Rgb c, double k);

void SetColour(cairo_t* cr, Rgb c, double alpha = 1.0);
void FillRect(cairo_t* cr, double x, double y, double w, double h, Rgb c);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void FillRoundedRect(cairo_t* cr, double x, double y, double w, double h, double r, Rgb c);
void StrokeLine(cairo_t* cr, double x0, double y0, double x1, double y1, double width, Rgb c);
void FillCircle(cairo_t* cr, double cx, double cy, double r, Rgb c);
void StrokeCircle(cairo_t* cr, double cx, double cy, double r, double width, Rgb c);

// A plate with a light upper-left and dark lower-right edge.
void RaisedPlate(cairo_t* cr, double x, double y, double w, double h, double r, Rgb face);
// A recess cut into the panel: dark upper-left edge, light lower-right.
void SunkenWell(cairo_t* cr, double x, double y, double w, double h, double r, Rgb inside);
// A slotted panel screw.
void Screw(cairo_t* cr, double cx, double cy, double r, double slotAngleDeg);
// A round knurled knob seen from above.
void KnurledKnob(cairo_t* cr, double cx, double cy, double r, Rgb body, int ridges);
// Soft radial glow around a lit element.
void Glow(cairo_t* cr, double cx, double cy, double r, Rgb c, double alpha);

// Whole panel background: enamel, a bevelled edge and a screw in each corner.
void PanelBackground(cairo_t* cr, double w, double h, bool screws);

enum class Align { kLeft, kCentre, kRight };
enum class Weight { kRegular, kBold };

struct Font {
    double px = 10.0;
    Weight weight = Weight::kBold;
    bool condensed = true;
    bool mono = false;
};

// Sets UTF-8 text (may hold '\n'); x is the left edge, centre or right edge by alignment and y the vertical centre of
// the block. A wrap width greater than 0 breaks lines at words. A halo colour rims the letters so that text drawn on
// transparency blends into a face of that colour. Returns the block's height in pixels.
double Text(cairo_t* cr, std::string_view text, double x, double y, Font font, Rgb c, Align align = Align::kCentre,
            double wrapWidth = 0.0, double lineSpacing = 1.0, const Rgb* halo = nullptr);
// Left-aligned text wrapped at wrapWidth, its lines set on baselines lineStep apart from firstBaseline down, as if
// typed on ruled paper. Returns the number of lines.
int RuledText(cairo_t* cr, std::string_view text, double x, double firstBaseline, double lineStep, double wrapWidth,
              Font font, Rgb c);
// Width of the widest line of text in pixels.
double TextWidth(cairo_t* cr, std::string_view text, Font font);
// As Text, shrinking the font until the widest line fits maxWidth and the block fits maxHeight.
void FitText(cairo_t* cr, std::string_view text, double cx, double cy, double maxWidth, double maxHeight, Font font,
             Rgb c);
// Text set along the ray from (cx, cy) at angleDeg (0 is +x, y down, clockwise positive), centred at radius r.
void TextAtAngle(cairo_t* cr, std::string_view text, double cx, double cy, double r, double angleDeg, Font font, Rgb c);

constexpr double kPi = 3.14159265358979323846;
inline double Rad(double deg) { return deg * kPi / 180.0; }

}  // namespace avrion::artwork
