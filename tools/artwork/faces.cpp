// Panel faces. Each face carries its printed legends and, under every icon that may draw nothing, the picture that is
// then to be seen: unlit lamps, blank display glass, a breaker's mounting, the recess a knob turns in.
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "draw.hpp"
#include "painters.hpp"

namespace avrion::artwork {

namespace {

using namespace colour;

const Font kLabel{.px = 10, .weight = Weight::kBold};
const Font kSmall{.px = 8.5, .weight = Weight::kBold};
const Font kTitle{.px = 12.5, .weight = Weight::kBold};

double AngleTo(double cx, double cy, double x, double y) { return std::atan2(y - cy, x - cx) * 180.0 / kPi; }

// A thin white outline grouping controls, with its title broken into the top edge.
void GroupBox(cairo_t* cr, double x, double y, double w, double h, const char* title) {
    RoundedRect(cr, x + 0.5, y + 0.5, w, h, 4);
    cairo_set_line_width(cr, 1.2);
    SetColour(cr, Scale(kLettering, 0.85));
    cairo_stroke(cr);
    if (title == nullptr) return;
    const double len = TextWidth(cr, title, kSmall) + 8;
    FillRect(cr, x + w / 2 - len / 2, y - 3, len, 7, kPanel);
    Text(cr, title, x + w / 2, y + 0.5, kSmall, kLettering);
}

// Tick marks on a ray from (cx, cy).
void Tick(cairo_t* cr, double cx, double cy, double angleDeg, double r0, double r1, double width, Rgb c) {
    const double a = Rad(angleDeg);
    StrokeLine(cr, cx + std::cos(a) * r0, cy + std::sin(a) * r0, cx + std::cos(a) * r1, cy + std::sin(a) * r1, width,
               c);
}

// A dial needle painted on a face for the decorative instruments.
void FixedNeedle(cairo_t* cr, double cx, double cy, double angleDeg, double len, Rgb c) {
    const double a = Rad(angleDeg);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, a);
    cairo_move_to(cr, -len * 0.2, -2.5);
    cairo_line_to(cr, len, -0.8);
    cairo_line_to(cr, len, 0.8);
    cairo_line_to(cr, -len * 0.2, 2.5);
    cairo_close_path(cr);
    SetColour(cr, c);
    cairo_fill(cr);
    cairo_restore(cr);
    FillCircle(cr, cx, cy, 4.5, Hex(0x202221));
}

// A round instrument: bezel, black dial, scale from a0 to a1 degrees for values v0..v1, labels every labelStep.
struct DialScale {
    double v0, v1, a0, a1, minor, major;
    double labelStep;
    double labelScale;  // printed label = value * labelScale
};

void Instrument(cairo_t* cr, double cx, double cy, double r, const DialScale& s, const char* title, const char* unit,
                double needleValue) {
    FillCircle(cr, cx + 1, cy + 1.5, r + 4, kPanelDark);
    FillCircle(cr, cx, cy, r + 4, Hex(0x222423));
    StrokeCircle(cr, cx, cy, r + 2.5, 1.2, kMetalDark);
    FillCircle(cr, cx, cy, r, kInstrument);
    auto angle = [&](double v) { return s.a0 + (v - s.v0) / (s.v1 - s.v0) * (s.a1 - s.a0); };
    for (double v = s.v0; v <= s.v1 + 1e-9; v += s.minor) {
        const bool major = std::fmod(std::abs(v - s.v0) + 1e-6, s.major) < 1e-3;
        Tick(cr, cx, cy, angle(v), r * (major ? 0.8 : 0.88), r * 0.97, major ? 1.6 : 1.0, kLettering);
    }
    const bool small = r < 50;
    const Font numbers{.px = small ? 9.0 : r * 0.19, .weight = Weight::kBold};
    for (double v = s.v0; v <= s.v1 + 1e-9; v += s.labelStep) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%.0f", v * s.labelScale);
        TextAtAngle(cr, buf, cx, cy, r * (small ? 0.58 : 0.64), angle(v), numbers, kLettering);
    }
    // The scale leaves the bottom quarter free: the title goes there on a small dial, the unit on a large one.
    if (small) {
        Text(cr, title, cx, cy + r * 0.66, {.px = 9, .weight = Weight::kBold}, kLettering);
    } else {
        Text(cr, title, cx, cy - r * 0.4, {.px = r * 0.13, .weight = Weight::kBold}, kLettering);
        Text(cr, unit, cx, cy + r * 0.66, {.px = r * 0.14, .weight = Weight::kRegular}, kLettering);
    }
    FixedNeedle(cr, cx, cy, angle(needleValue), r * 0.85, kLettering);
}

// Places a legend outside radius r on the ray at angleDeg, so that its nearest edge just clears r.
void LegendOutside(cairo_t* cr, const char* text, double cx, double cy, double r, double angleDeg, Font font, Rgb c,
                   const Rgb* halo = nullptr) {
    const double a = Rad(angleDeg);
    const double halfW = TextWidth(cr, text, font) / 2;
    const double halfH = font.px * 0.55;
    const double d = r + std::abs(std::cos(a)) * halfW + std::abs(std::sin(a)) * halfH;
    Text(cr, text, cx + std::cos(a) * d, cy + std::sin(a) * d, font, c, Align::kCentre, 0.0, 1.0, halo);
}

// KAI_487 speed scale: the needle's point table, as angles about the dial centre.
constexpr double kKaiCx = 153, kKaiCy = 151;
const std::vector<std::pair<double, std::pair<double, double>>> kSpeedTable{
    {0, {154, 35}},    {50, {202, 48}},   {60, {218, 56}},   {70, {232, 67}},   {80, {247, 84}},   {90, {258, 103}},
    {100, {267, 131}}, {120, {263, 190}}, {140, {232, 238}}, {180, {152, 269}}, {190, {130, 267}}, {200, {109, 261}},
    {250, {53, 214}},  {350, {44, 109}},  {400, {76, 63}},   {430, {104, 46}},
};

double KaiAngle(double v) {
    double prevV = 0, prevA = 0;
    for (std::size_t i = 0; i < kSpeedTable.size(); ++i) {
        const auto& [tv, pt] = kSpeedTable[i];
        double a = AngleTo(kKaiCx, kKaiCy, pt.first, pt.second);
        while (i > 0 && a < prevA) a += 360.0;  // the scale runs clockwise through one turn
        if (i > 0 && v <= tv) return prevA + (v - prevV) / (tv - prevV) * (a - prevA);
        prevV = tv, prevA = a;
    }
    return prevA;
}

}  // namespace

void PpsFace(cairo_t* cr) {
    PanelBackground(cr, 545, 412, true);
    Text(cr, "ПРОТИВОПОЖАРНАЯ СИСТЕМА", 272, 18, kTitle, kLettering);

    // Smoke detection: compartment 1 above the divider, compartment 2 below.
    GroupBox(cr, 36, 40, 172, 156, "СИГНАЛИЗАЦИЯ ДЫМА");
    StrokeLine(cr, 42, 124.5, 202, 124.5, 1.0, Scale(kLettering, 0.6));
    Text(cr, "ОТСЕК 1", 67, 110, kSmall, kLettering);
    Text(cr, "ОТСЕК 2", 68, 181, kSmall, kLettering);
    PpsLamp(cr, 49, 81, 37, 19, kLampSmoke, false);
    PpsLamp(cr, 50, 152, 37, 19, kLampSmoke, false);
    PpsLamp(cr, 104, 65, 37, 19, kLampZone2Left, false);
    PpsLamp(cr, 162, 66, 37, 19, kLampZone2Right, false);
    PpsLamp(cr, 104, 94, 37, 19, kLampZone3, false);
    PpsLamp(cr, 160, 96, 37, 19, kLampZone4, false);
    PpsLamp(cr, 104, 138, 37, 19, kLampZone5Left, false);
    PpsLamp(cr, 159, 139, 37, 19, kLampZone5Right, false);
    PpsLamp(cr, 105, 167, 37, 19, kLampZone6, false);

    // Engines 1 to 3, left to right: fire, overheat, agent valve, fuel valve closed.
    GroupBox(cr, 36, 204, 172, 202, "ДВИГАТЕЛИ");
    const double colX[] = {66.5, 124.5, 180.5};
    for (int i = 0; i < 3; ++i) Text(cr, "ДВ " + std::to_string(i + 1), colX[i], 217, kLabel, kLettering);
    PpsLamp(cr, 48, 227, 37, 19, kLampEngineFire, false);
    PpsLamp(cr, 105, 227, 37, 19, kLampEngineFire, false);
    PpsLamp(cr, 162, 228, 37, 19, kLampEngineFire, false);
    PpsLamp(cr, 48, 256, 37, 19, kLampOverheat, false);
    PpsLamp(cr, 106, 257, 37, 19, kLampOverheat, false);
    PpsLamp(cr, 162, 256, 37, 19, kLampOverheat, false);
    PpsLamp(cr, 48, 365, 37, 19, kLampFuelClosed, false);
    PpsLamp(cr, 106, 365, 37, 19, kLampFuelClosed, false);
    PpsLamp(cr, 161, 365, 37, 19, kLampFuelClosed, false);
    Text(cr, "ПОЖАРНЫЕ КРАНЫ", 122, 395, kSmall, Scale(kLettering, 0.8));

    // Discharge stages, first at the bottom, and the check lamp under them.
    GroupBox(cr, 212, 104, 60, 176, "ОЧЕРЕДИ");
    PpsLamp(cr, 231, 348, 17, 35, kLampCheck, false);

    // APU.
    PpsLamp(cr, 284, 234, 37, 19, kLampApuFire, false);
    PpsLamp(cr, 400, 235, 37, 19, kLampSwitchOn, false);

    // Test buttons.
    GroupBox(cr, 280, 164, 130, 50, "КОНТРОЛЬ");
    Text(cr, "ДЫМ", 301, 180, kSmall, kLettering);
    Text(cr, "ОГНЕТ", 346, 180, kSmall, kLettering);
    Text(cr, "ЛАМП", 391, 180, kSmall, kLettering);

    // Selectors: scales at the needle table's points.
    const std::pair<double, double> sensor[] = {{307, 126}, {302, 98}, {321, 84},  {340, 80},
                                                {358, 85},  {375, 98}, {378, 118}, {372, 138}};
    const char* const sensorText[] = {"ВЫКЛ", "1", "2", "3", "4", "5", "6", "ПОЖ"};
    const std::pair<double, double> compartment[] = {{404, 118}, {410, 98}, {426, 82}, {447, 76}, {467, 80}};
    const char* const compartmentText[] = {"ВЫКЛ", "ДВ1", "ДВ2", "ДВ3", "ВСУ"};
    Text(cr, "ГРУППА ДАТЧИКОВ", 340, 50, kLabel, kLettering);
    Text(cr, "ОТСЕК", 446, 50, kLabel, kLettering);
    for (int i = 0; i < 8; ++i) {
        const double a = AngleTo(340, 112, sensor[i].first, sensor[i].second);
        Tick(cr, 340, 112, a, 27, 33, 1.6, kLettering);
        LegendOutside(cr, sensorText[i], 340, 112, 35, a, kSmall, kLettering);
    }
    for (int i = 0; i < 5; ++i) {
        const double a = AngleTo(446, 113, compartment[i].first, compartment[i].second);
        Tick(cr, 446, 113, a, 27, 33, 1.6, kLettering);
        LegendOutside(cr, compartmentText[i], 446, 113, 35, a, kSmall, kLettering);
    }
    FillCircle(cr, 340, 112, 14, kPanelDark);
    FillCircle(cr, 446, 113, 14, kPanelDark);

    // Operate switch (levers drawn by its icon) and its positions.
    BreakerBody(cr, 404, 276, false);
    Text(cr, "РАБОТА", 398, 293, kSmall, kLettering, Align::kRight);
    Text(cr, "ВЫКЛ", 398, 322, kSmall, kLettering, Align::kRight);

    // Siren switch under its cover.
    Text(cr, "СИРЕНА", 479, 292, kLabel, kLettering);
}

void KaiFace(cairo_t* cr) {
    PanelBackground(cr, 300, 316, false);
    Screw(cr, 12, 12, 4.5, 40);
    Screw(cr, 288, 12, 4.5, 100);
    // Knob recesses in the lower corners, each marked with the colour of the index it sets.
    FillCircle(cr, 58, 268, 25, kPanelDark);
    FillCircle(cr, 247, 268, 25, kPanelDark);
    // Bezel and dial.
    FillCircle(cr, kKaiCx + 1, kKaiCy + 2, 146, kPanelDark);
    FillCircle(cr, kKaiCx, kKaiCy, 146, Hex(0x262827));
    StrokeCircle(cr, kKaiCx, kKaiCy, 142, 2.0, kMetalDark);
    FillCircle(cr, kKaiCx, kKaiCy, 137, kInstrument);

    // Scale: every 10 from 50 up, longer every 50, numbers every 50.
    Tick(cr, kKaiCx, kKaiCy, KaiAngle(0), 98, 114, 2.2, kLettering);
    for (int v = 50; v <= 430; v += 10) {
        const bool major = v % 50 == 0;
        Tick(cr, kKaiCx, kKaiCy, KaiAngle(v), major ? 98 : 106, 114, major ? 2.2 : 1.2, kLettering);
    }
    const Font numbers{.px = 13, .weight = Weight::kBold};
    TextAtAngle(cr, "0", kKaiCx, kKaiCy, 88, KaiAngle(0), numbers, kLettering);
    // 250 would fall on the drum window, so it alone stands outside the ticks.
    for (int v = 50; v <= 400; v += 50) {
        TextAtAngle(cr, std::to_string(v), kKaiCx, kKaiCy, v == 250 ? 125 : 86, KaiAngle(v),
                    v == 250 ? Font{.px = 11, .weight = Weight::kBold} : numbers, kLettering);
    }
    // Speed limit band: red arc from 310 to 324, at the outer edge.
    cairo_new_path(cr);
    cairo_arc(cr, kKaiCx, kKaiCy, 116, Rad(KaiAngle(310)), Rad(KaiAngle(324)));
    cairo_set_line_width(cr, 3);
    SetColour(cr, kWarningRed);
    cairo_stroke(cr);
    Text(cr, "км/ч", kKaiCx, 130, {.px = 12, .weight = Weight::kRegular}, kLettering);

    // Drum window: Mach marker and two figures, blank as when the computer is off.
    FillRoundedRect(cr, 82, 169, 88, 50, 3, Hex(0x3a3c3b));
    MachMarker(cr, 85, 172, false);
    SegmentDigit(cr, 111, 172, -1);
    SegmentDigit(cr, 137, 172, -1);
}

void ItvFace(cairo_t* cr) {
    PanelBackground(cr, 251, 251, true);
    Text(cr, "ВРЕМЯ ПОЛЁТА", 125, 24, kTitle, kLettering);
    Text(cr, "ЧАСЫ", 91, 60, kLabel, kLettering);
    Text(cr, "МИНУТЫ", 163, 60, kLabel, kLettering);
    // Window with the four drums; the colon between hours and minutes.
    SunkenWell(cr, 55, 69, 144, 46, 4, Hex(0x121413));
    for (double x : {60.0, 97.0, 133.0, 169.0}) FillRect(cr, x, 74, 25, 36, Hex(0x1a1c1b));
    FillCircle(cr, 127.5, 85, 2.2, kLettering);
    FillCircle(cr, 127.5, 99, 2.2, kLettering);
    // The lid's hinge along the label band; opened, the lid stands up towards the viewer and shows only its edge.
    FillRoundedRect(cr, 35, 131, 180, 5, 2, Hex(0x6a7a71));
    FillRoundedRect(cr, 35, 134, 180, 9, 3, kMetalDark);
    StrokeLine(cr, 37, 136, 213, 136, 1.2, kMetal);
    const double buttonX[] = {43, 86, 129, 174};
    const char* const buttonText[] = {"10 ч", "1 ч", "10 мин", "1 мин"};
    for (int i = 0; i < 4; ++i) {
        Text(cr, buttonText[i], buttonX[i] + 18, 160, kLabel, kLettering);
        FillCircle(cr, buttonX[i] + 18, 194, 18.5, kPanelDark);
    }
    // The knob in the lower left corner turns in a recess.
    FillCircle(cr, 24, 217, 19, kPanelDark);
}

void ArdFace(cairo_t* cr) {
    PanelBackground(cr, 366, 313, true);
    Text(cr, "ДАВЛЕНИЕ В КАБИНЕ", 183, 16, kTitle, kLettering);

    // The setter: its pressure shows in the window (the simulator prints it there), the knob below sets it.
    GroupBox(cr, 20, 36, 164, 172, "ЗАДАТЧИК");
    Text(cr, "мм рт. ст.", 102, 68, kLabel, kLettering);
    SunkenWell(cr, 89, 86, 58, 22, 2, Hex(0x121413));
    KnurledKnob(cr, 118, 159, 27, Hex(0x2b2d2c), 40);
    StrokeLine(cr, 118, 159, 118, 136, 2.5, kLettering);
    Text(cr, "−", 76, 159, {.px = 20, .weight = Weight::kBold}, kLettering);
    Text(cr, "+", 160, 159, {.px = 20, .weight = Weight::kBold}, kLettering);
    Text(cr, "МЕНЬШЕ", 92, 197, kSmall, Scale(kLettering, 0.85));
    Text(cr, "БОЛЬШЕ", 145, 197, kSmall, Scale(kLettering, 0.85));

    ArdSignalLamp(cr, 0, false);
    ArdSignalLamp(cr, 1, false);

    // Absolute pressure, excess pressure and rate of change in the cabin.
    Instrument(cr, 272, 112, 72, {400, 800, 135, 405, 10, 50, 100, 1}, "ДАВЛЕНИЕ", "мм рт. ст.", 760);
    Instrument(cr, 230, 240, 34, {0, 0.6, 135, 405, 0.05, 0.1, 0.2, 10}, "ΔP", "", 0);
    Instrument(cr, 318, 240, 34, {-5, 5, 135, 405, 0.5, 1, 5, 1}, "ВАР", "", 0);

    // The strip that closes the window.
    FillRect(cr, 1, 281, 364, 31, kPanelDark);
    StrokeLine(cr, 1, 281.5, 365, 281.5, 1.0, kPanelLight);
    Text(cr, "ЗАКРЫТЬ", 183, 297, kLabel, kLettering);
}

void So72Face(cairo_t* cr) {
    PanelBackground(cr, 305, 276, true);
    So72ReplyLamp(cr, 53, 41, -1);
    // Lamp-test button.
    FillCircle(cr, 57, 108, 16, Hex(0x151716));
    StrokeCircle(cr, 57, 108, 14.5, 1.6, kMetalDark);
    SmallButton(cr, 48, 99, false);
    // Mode selector: a dark boss and a tick at each of the seven positions.
    const std::pair<double, double> mode[] = {{128, 74}, {132, 56}, {146, 42}, {164, 38},
                                              {182, 42}, {196, 56}, {200, 74}};
    FillCircle(cr, 164, 74, 22, kPanelDark);
    for (const auto& [x, y] : mode) Tick(cr, 164, 74, AngleTo(164, 74, x, y), 24, 31, 2.0, kLettering);
    // The two-position switch's slot.
    FillRoundedRect(cr, 231, 68, 42, 18, 4, kMetalDark);
    FillRoundedRect(cr, 234, 74, 36, 6, 3, Hex(0x121413));
    // Code window, blank as when unpowered.
    SunkenWell(cr, 98, 120, 125, 48, 3, Hex(0x121413));
    for (double x : {102.0, 132.0, 162.0, 192.0}) FillRect(cr, x, 124, 27, 40, Hex(0x1a1c1b));
    // The digit buttons, one under each figure.
    for (double x : {75.0, 115.0, 155.0, 195.0}) ItvButton(cr, x, 175, false);
}

void So72Lettering(cairo_t* cr) {
    // Lettering alone on transparency: a rim of the face's colour lets the anti-aliased edges blend into the face.
    const Rgb* halo = &kPanel;
    auto label = [&](const char* text, double x, double y, Font font) {
        Text(cr, text, x, y, font, kLettering, Align::kCentre, 0.0, 1.0, halo);
    };
    const std::pair<double, double> mode[] = {{128, 74}, {132, 56}, {146, 42}, {164, 38},
                                              {182, 42}, {196, 56}, {200, 74}};
    const char* const modeText[] = {"ОТКЛ", "ГОТОВ", "РСП", "УВД", "УВД-М", "АС", "Д"};
    for (int i = 0; i < 7; ++i) {
        LegendOutside(cr, modeText[i], 164, 74, 40, AngleTo(164, 74, mode[i].first, mode[i].second),
                      {.px = 7.5, .weight = Weight::kBold}, kLettering, halo);
    }
    label("ОТВЕТ", 64, 82, kSmall);
    label("КОНТР", 57, 134, kSmall);
    label("КОМПЛЕКТ", 252, 56, kSmall);
    label("1", 225, 77, kSmall);
    label("2", 279, 77, kSmall);
    label("КОД", 160, 111, kSmall);
    label("НАБОР КОДА", 153, 224, kSmall);
    label("ОТВЕТЧИК", 152, 252, kTitle);
}

void A723Face(cairo_t* cr) {
    PanelBackground(cr, 600, 550, true);
    Text(cr, "ПРИЁМОИНДИКАТОР", 520, 26, kLabel, kLettering);

    // One dark glass for the hemisphere lamps, both displays and the status lamps.
    SunkenWell(cr, 66, 58, 472, 140, 4, kGlass);
    StrokeLine(cr, 126, 62, 126, 194, 1.0, Hex(0x2a2424));
    StrokeLine(cr, 455, 62, 455, 194, 1.0, Hex(0x2a2424));
    StrokeLine(cr, 130, 128, 451, 128, 1.0, Hex(0x2a2424));
    A723LampAt(cr, 74, 67, 46, 20, kA723North, false);
    A723LampAt(cr, 74, 89, 31, 20, kA723South, false);
    A723LampAt(cr, 74, 145, 46, 20, kA723West, false);
    A723LampAt(cr, 74, 167, 56, 20, kA723East, false);
    A723LampAt(cr, 133, 68, 56, 20, kA723Precise, false);
    A723Minus(cr, 152, 98, false);
    for (double x : {200.0, 256.0, 312.0, 368.0, 421.0}) SegmentDigit(cr, x, 68, -1);
    for (double x : {145.0, 200.0, 256.0, 312.0, 368.0, 421.0}) SegmentDigit(cr, x, 146, -1);
    const std::pair<double, double> dots[] = {{291, 98}, {402, 98}, {236, 175}, {348, 175}, {291, 175}, {402, 175}};
    for (const auto& [x, y] : dots) A723Dot(cr, x, y, false);
    A723LampAt(cr, 457, 70, 73, 23, kA723Failure, false);
    A723LampAt(cr, 457, 94, 55, 23, kA723Stop, false);
    A723LampAt(cr, 457, 119, 73, 23, kA723Reckoning, false);
    A723LampAt(cr, 457, 144, 73, 23, kA723Sync, false);
    A723LampAt(cr, 458, 168, 62, 23, kA723Zone, false);

    // Waypoint display.
    Text(cr, "ППМ", 120, 222, kLabel, kLettering);
    SunkenWell(cr, 72, 231, 96, 90, 4, kGlass);
    A723LampAt(cr, 79, 237, 31, 18, kA723From, false);
    A723LampAt(cr, 133, 237, 31, 18, kA723To, false);
    SegmentDigit(cr, 79, 272, -1);
    SegmentDigit(cr, 132, 272, -1);

    // Controls without a function: brightness knob and the automatic/manual switch.
    KnurledKnob(cr, 225, 282, 16, Hex(0x2b2d2c), 24);
    StrokeLine(cr, 225, 282, 225, 268, 2, kLettering);
    Text(cr, "ЯРК", 225, 310, kLabel, kLettering);
    BreakerBody(cr, 285, 256, false);
    ToggleLever(cr, 285, 256, 1);
    Text(cr, "АВТ", 300, 252, kSmall, kLettering);
    Text(cr, "РУЧ", 300, 324, kSmall, kLettering);

    // Keypad.
    struct Key {
        double x, y;
        const char* small;
        const char* big;
    };
    const Key keys[] = {
        {355, 270, "+", "1"},       {425, 270, "СЕВ", "2"},  {485, 270, "−", "3"},   {355, 340, "ЗАП", "4"},
        {425, 340, "", "5"},        {485, 340, "ВОСТ", "6"}, {355, 410, "L", "7"},   {425, 410, "ЮГ", "8"},
        {485, 410, "P", "9"},       {425, 480, "ТОЧН", "0"}, {485, 480, "", "СБРС"}, {355, 480, "", "СТОП"},
        {285, 480, "", "ИЗМ\nМРШ"},
    };
    for (const Key& k : keys) KeyCap(cr, k.x, k.y, 50, 50, k.small, k.big);
    KeyCap(cr, 290, 410, 50, 50, "", "");
    A723EnterKey(cr, 297, 420, false);

    // Mode knob scale, at the needle table's points.
    const std::pair<double, double> knob[] = {{105, 510}, {99, 493},  {100, 473}, {106, 454}, {120, 438}, {138, 426},
                                              {159, 424}, {179, 427}, {209, 453}, {216, 472}, {208, 513}};
    const char* const knobText[] = {"ОТКЛ", "Т/ДАТ", "МС",  "ППМ", "ΔПУ/ЛБУ", "t0/S",
                                    "ЗПУ",  "W/Tп",  "D/A", "РНС", "КОНТР"};
    FillCircle(cr, 158, 483, 47, kPanelDark);
    for (int i = 0; i < 11; ++i) {
        const double a = AngleTo(158, 483, knob[i].first, knob[i].second);
        Tick(cr, 158, 483, a, 55, 62, 2.0, kLettering);
        LegendOutside(cr, knobText[i], 158, 483, 64, a, kSmall, kLettering);
    }
}

void BreakerBase(cairo_t* cr) {
    FillRect(cr, 0, 0, 30, 60, kPanel);
    BreakerBody(cr, 0, 0);
}

void TestReadout(cairo_t* cr) {
    PanelBackground(cr, 110, 55, false);
    FillRect(cr, 3, 5, 103, 20, kGlass);
    FillRect(cr, 3, 30, 103, 20, kGlass);
}

void BiStrip(cairo_t* cr, bool lit) { BiLamp(cr, lit); }

}  // namespace avrion::artwork
