#include "painters.hpp"

namespace avrion::artwork {

void Paint(cairo_t* cr, const Bitmap& b) {
    const int v = b.variant;
    switch (b.art) {
        case Art::kLogicPixel:
        case Art::kHotspot:
            return;  // nothing to see: the gauges only take clicks or run the frame
        case Art::kPpsFace:
            return PpsFace(cr);
        case Art::kKaiFace:
            return KaiFace(cr);
        case Art::kItvFace:
            return ItvFace(cr);
        case Art::kArdFace:
            return ArdFace(cr);
        case Art::kSo72Face:
            return So72Face(cr);
        case Art::kSo72Lettering:
            return So72Lettering(cr);
        case Art::kA723Face:
            return A723Face(cr);
        case Art::kBreakerBase:
            return BreakerBase(cr);
        case Art::kTestReadout:
            return TestReadout(cr);
        case Art::kBiStrip:
            return BiStrip(cr, v == 1);
        case Art::kPpsLamp:
            return PpsLamp(cr, 0, 0, b.width, b.height, static_cast<PpsLampLegend>(v), true);
        case Art::kRoundLamp:
            return RoundLampAt(cr, 0, 0, static_cast<RoundLamp>(v));
        case Art::kWaterLamp:
            return WaterLamp(cr, 0, 0, v);
        case Art::kA723Lamp:
            return A723LampAt(cr, 0, 0, b.width, b.height, static_cast<A723Lamp>(v), true);
        case Art::kA723Minus:
            return A723Minus(cr, 0, 0, true);
        case Art::kA723Dot:
            return A723Dot(cr, 0, 0, true);
        case Art::kSo72Reply:
            return So72ReplyLamp(cr, 0, 0, v);
        case Art::kArdOverlay:
            return ArdSignalLamp(cr, v, true);
        case Art::kKaiOffFlag:
            return KaiOffFlag(cr, 0, 0);
        case Art::kSegmentDigit:
            return SegmentDigit(cr, 0, 0, v);
        case Art::kDrumDigit:
            return DrumDigit(cr, 0, 0, b.width, b.height, v);
        case Art::kMachMarker:
            return MachMarker(cr, 0, 0, true);
        case Art::kSelectorPointer:
            return SelectorPointer(cr);
        case Art::kKaiMarker:
            return KaiMarker(cr, v);
        case Art::kKaiKnob:
            return KaiKnob(cr, v);
        case Art::kKaiNeedle:
            return KaiNeedle(cr, v);
        case Art::kItvKnob:
            return ItvKnob(cr);
        case Art::kA723Knob:
            return A723Knob(cr);
        case Art::kSo72Needle:
            return So72Needle(cr);
        case Art::kToggleLever:
            return ToggleLever(cr, 0, 0, v);
        case Art::kThreeWayLever:
            return ThreeWayLever(cr, 0, 0, v);
        case Art::kSmallButton:
            return SmallButton(cr, 0, 0, v == 1);
        case Art::kPpsButton:
            return PpsButtonAt(cr, 0, 0, static_cast<PpsButton>(v / 4), (v & 2) != 0, (v & 1) != 0);
        case Art::kSirenGuard:
            return SirenGuard(cr, 0, 0);
        case Art::kSirenLever:
            return SirenLever(cr, 0, 0, v == 1);
        case Art::kSirenCover:
            return SirenCover(cr, 0, 0, v == 1);
        case Art::kItvButton:
            return ItvButton(cr, 0, 0, v == 1);
        case Art::kItvCover:
            return ItvCover(cr);
        case Art::kSo72Switch:
            return So72Switch(cr, 0, 0, v == 1);
        case Art::kA723EnterKey:
            return A723EnterKey(cr, 0, 0, true);
        case Art::kMessageSheet:
            return MessageSheet(cr, v);
    }
}

}  // namespace avrion::artwork
