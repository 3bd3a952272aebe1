// Every bitmap resource of the module: its id, its size, its depth, what it shows and which painter draws it.
//
// This table is the one list of the module's pictures. The artwork tool draws one file per entry, and the unit test
// checks the shipped files against it, so it depends on nothing but the standard library.
//
// Transparency: pure black, RGB 0, 0, 0, is the transparent colour, as in FS9. Every pixel that must let the picture
// beneath show through (around needles and knobs, around overlay icons, the unlit parts of overlays) is exactly
// 0, 0, 0; no visible pixel ever is, so the darkest drawn colour is a near-black of at least 8 in some channel.
// The renderer treats a pixel as transparent exactly when its palette colour is 0, 0, 0.
//
// Needles and knob pointers are drawn pointing to the right (towards +x) about the pivot that the element's offset
// point names; the simulator turns them from there.
#pragma once

#include <array>
#include <string_view>

namespace avrion::artwork {

// Which painter draws a bitmap; the variant picks the state or legend within a family.
enum class Art {
    kLogicPixel,
    // Panel faces.
    kPpsFace,
    kKaiFace,
    kItvFace,
    kArdFace,
    kSo72Face,
    kSo72Lettering,
    kA723Face,
    kBreakerBase,
    kTestReadout,
    kHotspot,
    kBiStrip,  // variant: 0 unlit, 1 lit
    // Lamps.
    kPpsLamp,    // variant: PpsLampLegend
    kRoundLamp,  // variant: RoundLamp
    kWaterLamp,  // variant: -1 unlit, 0 to 3 lit empty, quarter, half, full
    kA723Lamp,   // variant: A723Lamp
    kA723Minus,
    kA723Dot,
    kSo72Reply,   // variant: 0 lit, 1 lit at full glow
    kArdOverlay,  // variant: 0 signal 1, 1 signal 2
    kKaiOffFlag,
    // Digits.
    kSegmentDigit,  // variant: digit
    kDrumDigit,     // variant: digit
    kMachMarker,
    // Needles and knobs.
    kSelectorPointer,
    kKaiMarker,  // variant: 0 left, 1 right
    kKaiKnob,
    kKaiNeedle,  // variant: 0 speed, 1 limit speed
    kItvKnob,
    kA723Knob,
    kSo72Needle,
    // Breakers, buttons and covers.
    kToggleLever,    // variant: 0 down, 1 up
    kThreeWayLever,  // variant: 0 down, 1 middle, 2 up
    kSmallButton,    // variant: 0 out, 1 in
    kPpsButton,      // variant: PpsButtonVariant()
    kSirenGuard,
    kSirenLever,  // variant: 0 down, 1 up
    kSirenCover,  // variant: 0 open, 1 closed
    kItvButton,   // variant: 0 out, 1 in
    kItvCover,
    kSo72Switch,  // variant: 0 left, 1 right
    kA723EnterKey,
    // Message sheets.
    kMessageSheet,  // variant: -1 blank, else the message code
};

// Legends of the PPS lamps (lamp table of the fire protection panel).
enum PpsLampLegend {
    kLampSwitchOn,
    kLampApuFire,
    kLampFuelClosed,
    kLampCheck,
    kLampOverheat,
    kLampEngineFire,
    kLampSmoke,
    kLampZone2Left,
    kLampZone2Right,
    kLampZone3,
    kLampZone4,
    kLampZone5Left,
    kLampZone5Right,
    kLampZone6,
};

enum RoundLamp { kRoundRedUnlit, kRoundRedLit, kRoundAmberUnlit, kRoundAmberLit };

enum A723Lamp {
    kA723To,
    kA723From,
    kA723Failure,
    kA723Reckoning,
    kA723North,
    kA723Sync,
    kA723Stop,
    kA723Precise,
    kA723East,
    kA723South,
    kA723West,
    kA723Zone
};

// The eight illuminated buttons of the PPS panel.
enum PpsButton { kNeutralGas, kApuAgent, kStage1, kStage2, kStage3, kEngine1Agent, kEngine2Agent, kEngine3Agent };

constexpr int PpsButtonVariant(PpsButton button, bool lit, bool pressed) {
    return button * 4 + (lit ? 2 : 0) + (pressed ? 1 : 0);
}

struct Bitmap {
    int id;
    int width;
    int height;
    int bits;  // 8, or 4 for the invisible logic gauge's pixel
    Art art;
    int variant;
    std::string_view shows;
};

// Short name for the table below.
constexpr int Btn(PpsButton b, bool lit, bool pressed) { return PpsButtonVariant(b, lit, pressed); }

inline constexpr std::array kBitmaps{
    // PPS fire protection panel.
    Bitmap{256, 545, 412, 8, Art::kPpsFace, 0, "PPS panel face with its printed labels and unlit lamps"},
    Bitmap{257, 30, 60, 8, Art::kToggleLever, 0, "breaker / switch lever down (off)"},
    Bitmap{258, 30, 60, 8, Art::kToggleLever, 1, "breaker / switch lever up (on)"},
    Bitmap{259, 37, 19, 8, Art::kPpsLamp, kLampSwitchOn, "PPS lamp 0 lit: switch the system on"},
    Bitmap{260, 18, 18, 8, Art::kSmallButton, 0, "small push-button out"},
    Bitmap{261, 18, 18, 8, Art::kSmallButton, 1, "small push-button in"},
    Bitmap{262, 37, 19, 8, Art::kPpsLamp, kLampApuFire, "PPS lamp 1 lit: APU fire"},
    Bitmap{263, 37, 19, 8, Art::kPpsLamp, kLampFuelClosed, "PPS lamps 2-4 lit: engine fuel valve closed"},
    Bitmap{264, 17, 35, 8, Art::kPpsLamp, kLampCheck, "PPS lamp 5 lit: check fire / overheat / smoke (tall)"},
    Bitmap{265, 37, 19, 8, Art::kPpsLamp, kLampOverheat, "PPS lamps 6-8 lit: engine overheat"},
    Bitmap{266, 37, 19, 8, Art::kPpsLamp, kLampEngineFire, "PPS lamps 9-11 lit: engine fire"},
    Bitmap{267, 37, 19, 8, Art::kPpsLamp, kLampSmoke, "PPS lamps 12-13 lit: cargo compartment smoke"},
    Bitmap{268, 37, 19, 8, Art::kPpsLamp, kLampZone2Left, "PPS lamp 14 lit: zone II, left arrow"},
    Bitmap{269, 37, 19, 8, Art::kPpsLamp, kLampZone2Right, "PPS lamp 15 lit: zone II, right arrow"},
    Bitmap{270, 37, 19, 8, Art::kPpsLamp, kLampZone3, "PPS lamp 16 lit: zone III"},
    Bitmap{271, 37, 19, 8, Art::kPpsLamp, kLampZone5Left, "PPS lamp 17 lit: zone V, left arrow"},
    Bitmap{272, 37, 19, 8, Art::kPpsLamp, kLampZone5Right, "PPS lamp 18 lit: zone V, right arrow"},
    Bitmap{273, 37, 19, 8, Art::kPpsLamp, kLampZone6, "PPS lamp 20 lit: zone VI"},
    Bitmap{274, 46, 50, 8, Art::kPpsButton, Btn(kNeutralGas, false, false), "neutral-gas button, dark, out"},
    Bitmap{275, 46, 50, 8, Art::kPpsButton, Btn(kNeutralGas, false, true), "neutral-gas button, dark, in"},
    Bitmap{276, 46, 50, 8, Art::kPpsButton, Btn(kNeutralGas, true, false), "neutral-gas button, lit, out"},
    Bitmap{277, 46, 50, 8, Art::kPpsButton, Btn(kNeutralGas, true, true), "neutral-gas button, lit, in"},
    Bitmap{278, 46, 50, 8, Art::kPpsButton, Btn(kApuAgent, false, false), "APU agent button, dark, out"},
    Bitmap{279, 46, 50, 8, Art::kPpsButton, Btn(kApuAgent, false, true), "APU agent button, dark, in"},
    Bitmap{280, 46, 50, 8, Art::kPpsButton, Btn(kApuAgent, true, false), "APU agent button, lit, out"},
    Bitmap{281, 46, 50, 8, Art::kPpsButton, Btn(kApuAgent, true, true), "APU agent button, lit, in"},
    Bitmap{282, 57, 22, 8, Art::kSelectorPointer, 0, "PPS selector pointer knob (pivot 25, 11)"},
    Bitmap{283, 46, 50, 8, Art::kPpsButton, Btn(kStage1, false, false), "discharge stage 1 button, dark, out"},
    Bitmap{284, 46, 50, 8, Art::kPpsButton, Btn(kStage1, false, true), "discharge stage 1 button, dark, in"},
    Bitmap{285, 46, 50, 8, Art::kPpsButton, Btn(kStage1, true, false), "discharge stage 1 button, lit, out"},
    Bitmap{286, 46, 50, 8, Art::kPpsButton, Btn(kStage1, true, true), "discharge stage 1 button, lit, in"},
    Bitmap{287, 46, 50, 8, Art::kPpsButton, Btn(kStage2, false, false), "discharge stage 2 button, dark, out"},
    Bitmap{288, 46, 50, 8, Art::kPpsButton, Btn(kStage2, false, true), "discharge stage 2 button, dark, in"},
    Bitmap{289, 46, 50, 8, Art::kPpsButton, Btn(kStage2, true, false), "discharge stage 2 button, lit, out"},
    Bitmap{290, 46, 50, 8, Art::kPpsButton, Btn(kStage2, true, true), "discharge stage 2 button, lit, in"},
    Bitmap{291, 46, 50, 8, Art::kPpsButton, Btn(kStage3, false, false), "discharge stage 3 button, dark, out"},
    Bitmap{292, 46, 50, 8, Art::kPpsButton, Btn(kStage3, false, true), "discharge stage 3 button, dark, in"},
    Bitmap{293, 46, 50, 8, Art::kPpsButton, Btn(kStage3, true, false), "discharge stage 3 button, lit, out"},
    Bitmap{294, 46, 50, 8, Art::kPpsButton, Btn(kStage3, true, true), "discharge stage 3 button, lit, in"},
    Bitmap{295, 50, 104, 8, Art::kSirenGuard, 0, "guard frame of the siren switch"},
    Bitmap{296, 50, 104, 8, Art::kSirenLever, 0, "siren switch lever down (off)"},
    Bitmap{297, 50, 104, 8, Art::kSirenLever, 1, "siren switch lever up (on)"},
    Bitmap{298, 50, 104, 8, Art::kSirenCover, 0, "siren switch cover open"},
    Bitmap{299, 50, 104, 8, Art::kSirenCover, 1, "siren switch cover closed"},
    Bitmap{300, 46, 50, 8, Art::kPpsButton, Btn(kEngine1Agent, false, false), "engine 1 agent valve, dark, out"},
    Bitmap{301, 46, 50, 8, Art::kPpsButton, Btn(kEngine1Agent, false, true), "engine 1 agent valve, dark, in"},
    Bitmap{302, 46, 50, 8, Art::kPpsButton, Btn(kEngine1Agent, true, false), "engine 1 agent valve, lit, out"},
    Bitmap{303, 46, 50, 8, Art::kPpsButton, Btn(kEngine1Agent, true, true), "engine 1 agent valve, lit, in"},
    Bitmap{304, 46, 50, 8, Art::kPpsButton, Btn(kEngine2Agent, false, false), "engine 2 agent valve, dark, out"},
    Bitmap{305, 46, 50, 8, Art::kPpsButton, Btn(kEngine2Agent, false, true), "engine 2 agent valve, dark, in"},
    Bitmap{306, 46, 50, 8, Art::kPpsButton, Btn(kEngine2Agent, true, false), "engine 2 agent valve, lit, out"},
    Bitmap{307, 46, 50, 8, Art::kPpsButton, Btn(kEngine2Agent, true, true), "engine 2 agent valve, lit, in"},
    Bitmap{308, 46, 50, 8, Art::kPpsButton, Btn(kEngine3Agent, false, false), "engine 3 agent valve, dark, out"},
    Bitmap{309, 46, 50, 8, Art::kPpsButton, Btn(kEngine3Agent, false, true), "engine 3 agent valve, dark, in"},
    Bitmap{310, 46, 50, 8, Art::kPpsButton, Btn(kEngine3Agent, true, false), "engine 3 agent valve, lit, out"},
    Bitmap{311, 46, 50, 8, Art::kPpsButton, Btn(kEngine3Agent, true, true), "engine 3 agent valve, lit, in"},
    Bitmap{1280, 37, 19, 8, Art::kPpsLamp, kLampZone4, "PPS lamp 19 lit: zone IV"},

    // KAI_487 speed indicator and its breaker.
    Bitmap{312, 300, 316, 8, Art::kKaiFace, 0, "KAI_487 dial: speed scale, drum window, knob recesses"},
    Bitmap{313, 36, 20, 8, Art::kKaiOffFlag, 0, "KAI_487 off flag"},
    Bitmap{314, 140, 22, 8, Art::kKaiMarker, 0, "KAI_487 left index marker (pivot 10, 11)"},
    Bitmap{315, 140, 22, 8, Art::kKaiMarker, 1, "KAI_487 right index marker (pivot 10, 11)"},
    Bitmap{316, 46, 46, 8, Art::kKaiKnob, 0, "KAI_487 left setting knob (pivot 23, 23)"},
    Bitmap{317, 46, 46, 8, Art::kKaiKnob, 1, "KAI_487 right setting knob (pivot 23, 23)"},
    Bitmap{318, 132, 36, 8, Art::kKaiNeedle, 0, "KAI_487 speed needle (pivot 21, 18)"},
    Bitmap{319, 132, 36, 8, Art::kKaiNeedle, 1, "KAI_487 limit-speed needle (pivot 21, 18)"},
    Bitmap{320, 30, 60, 8, Art::kBreakerBase, 0, "circuit-breaker mounting, the lever's background"},
    Bitmap{352, 26, 44, 8, Art::kMachMarker, 0, "KAI_487 Mach marker beside the drums"},

    // ITV clock.
    Bitmap{321, 251, 251, 8, Art::kItvFace, 0, "ITV clock face, cover open"},
    Bitmap{322, 251, 251, 8, Art::kItvCover, 0, "ITV button cover closed (overlay)"},
    Bitmap{323, 43, 43, 8, Art::kItvKnob, 0, "ITV small knob (pivot 21, 21)"},
    Bitmap{324, 25, 36, 8, Art::kDrumDigit, 0, "ITV drum digit 0"},
    Bitmap{325, 25, 36, 8, Art::kDrumDigit, 1, "ITV drum digit 1"},
    Bitmap{326, 25, 36, 8, Art::kDrumDigit, 2, "ITV drum digit 2"},
    Bitmap{327, 25, 36, 8, Art::kDrumDigit, 3, "ITV drum digit 3"},
    Bitmap{328, 25, 36, 8, Art::kDrumDigit, 4, "ITV drum digit 4"},
    Bitmap{329, 25, 36, 8, Art::kDrumDigit, 5, "ITV drum digit 5"},
    Bitmap{330, 25, 36, 8, Art::kDrumDigit, 6, "ITV drum digit 6"},
    Bitmap{331, 25, 36, 8, Art::kDrumDigit, 7, "ITV drum digit 7"},
    Bitmap{332, 25, 36, 8, Art::kDrumDigit, 8, "ITV drum digit 8"},
    Bitmap{333, 25, 36, 8, Art::kDrumDigit, 9, "ITV drum digit 9"},
    Bitmap{334, 36, 36, 8, Art::kItvButton, 0, "ITV setting button out"},
    Bitmap{335, 36, 36, 8, Art::kItvButton, 1, "ITV setting button in"},

    // Cabin-pressure setter, toggles.
    Bitmap{336, 366, 313, 8, Art::kArdFace, 0, "zad_ARD cabin-pressure panel face"},
    Bitmap{337, 366, 313, 8, Art::kArdOverlay, 0, "zad_ARD face lit for signal 1 (overlay)"},
    Bitmap{338, 366, 313, 8, Art::kArdOverlay, 1, "zad_ARD face lit for signal 2 (overlay)"},
    Bitmap{341, 10, 10, 8, Art::kHotspot, 0, "window toggle hotspot: transparent"},

    // Round lamps.
    Bitmap{339, 20, 20, 8, Art::kRoundLamp, kRoundRedUnlit, "round red lamp unlit (SSOS, drain heating)"},
    Bitmap{340, 20, 20, 8, Art::kRoundLamp, kRoundRedLit, "round red lamp lit"},
    Bitmap{1285, 20, 20, 8, Art::kRoundLamp, kRoundAmberUnlit, "round amber tail-compartment lamp unlit"},
    Bitmap{1286, 20, 20, 8, Art::kRoundLamp, kRoundAmberLit, "round amber tail-compartment lamp lit"},

    // Red seven-segment digits, shared by KAI_487 and A723.
    Bitmap{342, 29, 44, 8, Art::kSegmentDigit, 0, "red seven-segment digit 0"},
    Bitmap{343, 29, 44, 8, Art::kSegmentDigit, 1, "red seven-segment digit 1"},
    Bitmap{344, 29, 44, 8, Art::kSegmentDigit, 2, "red seven-segment digit 2"},
    Bitmap{345, 29, 44, 8, Art::kSegmentDigit, 3, "red seven-segment digit 3"},
    Bitmap{346, 29, 44, 8, Art::kSegmentDigit, 4, "red seven-segment digit 4"},
    Bitmap{347, 29, 44, 8, Art::kSegmentDigit, 5, "red seven-segment digit 5"},
    Bitmap{348, 29, 44, 8, Art::kSegmentDigit, 6, "red seven-segment digit 6"},
    Bitmap{349, 29, 44, 8, Art::kSegmentDigit, 7, "red seven-segment digit 7"},
    Bitmap{350, 29, 44, 8, Art::kSegmentDigit, 8, "red seven-segment digit 8"},
    Bitmap{351, 29, 44, 8, Art::kSegmentDigit, 9, "red seven-segment digit 9"},

    // A-723 control head.
    Bitmap{353, 600, 550, 8, Art::kA723Face, 0, "A723 face: display windows, keypad legends, knob scale"},
    Bitmap{354, 112, 112, 8, Art::kA723Knob, 0, "A723 black pointer mode knob (pivot 56, 56)"},
    Bitmap{355, 31, 18, 8, Art::kA723Lamp, kA723To, "A723 lamp НА (to)"},
    Bitmap{356, 31, 18, 8, Art::kA723Lamp, kA723From, "A723 lamp ОТ (from)"},
    Bitmap{357, 73, 23, 8, Art::kA723Lamp, kA723Failure, "A723 lamp ОТКАЗ (failure)"},
    Bitmap{358, 73, 23, 8, Art::kA723Lamp, kA723Reckoning, "A723 lamp СЧИСЛ (dead reckoning)"},
    Bitmap{359, 46, 20, 8, Art::kA723Lamp, kA723North, "A723 lamp СЕВ (north)"},
    Bitmap{360, 73, 23, 8, Art::kA723Lamp, kA723Sync, "A723 lamp СИНХР (sync)"},
    Bitmap{361, 55, 23, 8, Art::kA723Lamp, kA723Stop, "A723 lamp СТОП (stop mode)"},
    Bitmap{362, 26, 12, 8, Art::kA723Minus, 0, "A723 minus bar before the upper display"},
    Bitmap{363, 56, 20, 8, Art::kA723Lamp, kA723Precise, "A723 lamp ТОЧН (precise)"},
    Bitmap{364, 56, 20, 8, Art::kA723Lamp, kA723East, "A723 lamp ВОСТ (east)"},
    Bitmap{365, 31, 20, 8, Art::kA723Lamp, kA723South, "A723 lamp ЮГ (south)"},
    Bitmap{366, 46, 20, 8, Art::kA723Lamp, kA723West, "A723 lamp ЗАП (west)"},
    Bitmap{367, 62, 23, 8, Art::kA723Lamp, kA723Zone, "A723 lamp ЗОНА (zone)"},
    Bitmap{368, 36, 16, 8, Art::kA723EnterKey, 0, "A723 ВВОД key face lit amber"},
    Bitmap{369, 11, 12, 8, Art::kA723Dot, 0, "A723 red decimal point"},

    // SO72 transponder control panel.
    Bitmap{512, 305, 276, 8, Art::kSo72Face, 0, "SO72 panel face (lettering separate)"},
    Bitmap{513, 69, 38, 8, Art::kSo72Needle, 0, "SO72 mode selector knob (pivot 32, 19)"},
    Bitmap{514, 22, 33, 8, Art::kSo72Reply, 0, "SO72 reply lamp lit"},
    Bitmap{515, 22, 33, 8, Art::kSo72Reply, 1, "SO72 reply lamp lit at full glow"},
    Bitmap{516, 305, 276, 8, Art::kSo72Lettering, 0, "SO72 face lettering (overlay)"},
    Bitmap{517, 38, 14, 8, Art::kSo72Switch, 0, "SO72 two-position switch, left"},
    Bitmap{518, 38, 14, 8, Art::kSo72Switch, 1, "SO72 two-position switch, right"},
    Bitmap{519, 27, 40, 8, Art::kDrumDigit, 0, "SO72 code drum digit 0"},
    Bitmap{520, 27, 40, 8, Art::kDrumDigit, 1, "SO72 code drum digit 1"},
    Bitmap{521, 27, 40, 8, Art::kDrumDigit, 2, "SO72 code drum digit 2"},
    Bitmap{522, 27, 40, 8, Art::kDrumDigit, 3, "SO72 code drum digit 3"},
    Bitmap{523, 27, 40, 8, Art::kDrumDigit, 4, "SO72 code drum digit 4"},
    Bitmap{524, 27, 40, 8, Art::kDrumDigit, 5, "SO72 code drum digit 5"},
    Bitmap{525, 27, 40, 8, Art::kDrumDigit, 6, "SO72 code drum digit 6"},
    Bitmap{526, 27, 40, 8, Art::kDrumDigit, 7, "SO72 code drum digit 7"},
    Bitmap{527, 27, 40, 8, Art::kDrumDigit, 8, "SO72 code drum digit 8"},
    Bitmap{528, 27, 40, 8, Art::kDrumDigit, 9, "SO72 code drum digit 9"},

    // Water level lamps.
    Bitmap{560, 26, 13, 8, Art::kWaterLamp, -1, "water level lamp unlit"},
    Bitmap{561, 26, 13, 8, Art::kWaterLamp, 0, "water level lamp lit: empty"},
    Bitmap{562, 26, 13, 8, Art::kWaterLamp, 1, "water level lamp lit: quarter"},
    Bitmap{563, 26, 13, 8, Art::kWaterLamp, 2, "water level lamp lit: half"},
    Bitmap{564, 26, 13, 8, Art::kWaterLamp, 3, "water level lamp lit: full"},

    // Crew messages.
    Bitmap{592, 600, 300, 8, Art::kMessageSheet, -1, "blank crew notice sheet"},
    Bitmap{593, 600, 300, 8, Art::kMessageSheet, 0, "crew notice, code 0: thermal indicators melted"},
    Bitmap{594, 600, 300, 8, Art::kMessageSheet, 1, "crew notice, code 1: two indicators melted"},
    Bitmap{595, 600, 300, 8, Art::kMessageSheet, 2, "crew notice, code 2: three indicators, bonus lost"},
    Bitmap{596, 600, 300, 8, Art::kMessageSheet, 3, "crew notice, code 3: reverse off below 100 km/h"},

    // Odds and ends.
    Bitmap{1281, 1, 1, 4, Art::kLogicPixel, 0, "logic gauge: one transparent pixel"},
    Bitmap{1282, 30, 60, 8, Art::kThreeWayLever, 0, "three-position switch lever down"},
    Bitmap{1283, 30, 60, 8, Art::kThreeWayLever, 1, "three-position switch lever middle (off)"},
    Bitmap{1284, 30, 60, 8, Art::kThreeWayLever, 2, "three-position switch lever up"},
    Bitmap{1287, 1024, 86, 8, Art::kBiStrip, 0, "BI lamp strip, lamp unlit"},
    Bitmap{1288, 1024, 86, 8, Art::kBiStrip, 1, "BI lamp strip, lamp lit (overlay)"},
    Bitmap{1289, 1024, 86, 8, Art::kBiStrip, 0, "panel-window toggle strip with the BI lamp unlit"},
    Bitmap{1290, 1024, 86, 8, Art::kBiStrip, 1, "panel-window toggle strip, BI lamp lit (overlay)"},
    Bitmap{1291, 110, 55, 8, Art::kTestReadout, 0, "test readout background"},
};

}  // namespace avrion::artwork
