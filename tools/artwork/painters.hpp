// The painters of every bitmap family. Each draws at a given place so that a face can show the same part (an unlit
// lamp, a blank digit window, a breaker's mounting) exactly as the part's own bitmap shows it.
#pragma once

#include <cairo.h>

#include "inventory.hpp"

namespace avrion::artwork {

// Draws the whole bitmap b onto a cleared (fully transparent) surface of b's size.
void Paint(cairo_t* cr, const Bitmap& b);

// digits.cpp
void SegmentDigit(cairo_t* cr, double x, double y, int digit);  // 29 x 44; -1 draws the blank glass
void DrumDigit(cairo_t* cr, double x, double y, double w, double h, int digit);
void MachMarker(cairo_t* cr, double x, double y, bool lit);  // 26 x 44

// lamps.cpp
void PpsLamp(cairo_t* cr, double x, double y, double w, double h, PpsLampLegend legend, bool lit);
void RoundLampAt(cairo_t* cr, double x, double y, RoundLamp lamp);  // 20 x 20
void WaterLamp(cairo_t* cr, double x, double y, int band);          // 26 x 13; -1 unlit
void A723LampAt(cairo_t* cr, double x, double y, double w, double h, A723Lamp lamp, bool lit);
void A723Minus(cairo_t* cr, double x, double y, bool lit);       // 26 x 12
void A723Dot(cairo_t* cr, double x, double y, bool lit);         // 11 x 12
void So72ReplyLamp(cairo_t* cr, double x, double y, int state);  // 22 x 33; -1 unlit, 0 lit, 1 full glow
void ArdSignalLamp(cairo_t* cr, int signal, bool lit);           // at its place on the 366 x 313 face
void KaiOffFlag(cairo_t* cr, double x, double y);                // 36 x 20
void BiLamp(cairo_t* cr, bool lit);                              // at its place on the 1024 x 86 strip

// needles.cpp: each draws its bitmap with the pivot where the element's offset point says.
void SelectorPointer(cairo_t* cr);
void KaiMarker(cairo_t* cr, int which);
void KaiKnob(cairo_t* cr, int which);
void KaiNeedle(cairo_t* cr, int which);
void ItvKnob(cairo_t* cr);
void A723Knob(cairo_t* cr);
void So72Needle(cairo_t* cr);

// switches.cpp
void BreakerBody(cairo_t* cr, double x, double y, bool onLabel = true);  // the 30 x 60 mounting, panel not included
void ToggleLever(cairo_t* cr, double x, double y, int position);         // 0 down, 1 up
void ThreeWayLever(cairo_t* cr, double x, double y, int position);       // 0 down, 1 middle, 2 up
void SmallButton(cairo_t* cr, double x, double y, bool pressed);         // 18 x 18
void PpsButtonAt(cairo_t* cr, double x, double y, PpsButton button, bool lit, bool pressed);  // 46 x 50
void SirenGuard(cairo_t* cr, double x, double y);
void SirenLever(cairo_t* cr, double x, double y, bool up);
void SirenCover(cairo_t* cr, double x, double y, bool closed);
void ItvButton(cairo_t* cr, double x, double y, bool pressed);  // 36 x 36
void ItvCover(cairo_t* cr);                                     // on the 251 x 251 face
void So72Switch(cairo_t* cr, double x, double y, bool right);   // 38 x 14
void A723EnterKey(cairo_t* cr, double x, double y, bool lit);   // 36 x 16
void KeyCap(cairo_t* cr, double x, double y, double w, double h, const char* small, const char* big);

// faces.cpp
void PpsFace(cairo_t* cr);
void KaiFace(cairo_t* cr);
void ItvFace(cairo_t* cr);
void ArdFace(cairo_t* cr);
void So72Face(cairo_t* cr);
void So72Lettering(cairo_t* cr);
void A723Face(cairo_t* cr);
void BreakerBase(cairo_t* cr);
void TestReadout(cairo_t* cr);
void BiStrip(cairo_t* cr, bool lit);

// messages.cpp
void MessageSheet(cairo_t* cr, int code);  // -1: the blank sheet

}  // namespace avrion::artwork
