// The PPS fire protection panel: the operate/off switch, three test buttons, two rotary selectors, eight
// illuminated push-buttons, the covered siren switch and the 29 lamps. The callbacks draw what the last update of
// FireProtectionSystem left; the handlers set its inputs for the next one and play the panel's sounds.
#include <cstdint>

#include "frame/gauge_builder.h"
#include "frame/gauge_table.h"
#include "frame/module_objects.h"
#include "pps/fire_protection_system.h"

namespace {

using Panel = FireProtectionSystem;
using Flag = std::uint8_t Panel::*;
using FlagRow = std::uint8_t (Panel::*)[Panel::kEngineCount];
static_assert(Panel::kStageCount == Panel::kEngineCount, "one row type serves stages and engines");

constexpr std::int32_t kSensorGroupHighest = 7;
constexpr std::int32_t kCompartmentHighest = 4;

constexpr std::uint32_t kButtonEvents =
    mouse_flag::kLeftSingle | mouse_flag::kLeftRepeat | mouse_flag::kLeftRelease | mouse_flag::kLeave;
constexpr std::uint32_t kSirenSwitchEvents = mouse_flag::kLeftSingle | mouse_flag::kRightSingle;

std::uint8_t coverClosed = 1;  // the hinged cover over the siren switch
std::uint8_t clickLatch = 0;   // one for the three test buttons: the press click was played, the release click is due

Panel& ThePanel() { return *aircraftState.fireProtection; }

bool LetGo(std::uint32_t flags) { return flags == mouse_flag::kLeftRelease || flags == mouse_flag::kLeave; }

// A lit overlay shows the button's pressed state while its lamp is lit, and nothing otherwise.
double Overlay(std::uint8_t pressed, int lamp) { return ThePanel().lamps[lamp] == 1 ? pressed : -1.0; }

template <Flag Field>
double FSAPI FlagPicture(ELEMENT_HEADER*) {
    return ThePanel().*Field;
}

template <FlagRow Row, int Index>
double FSAPI RowPicture(ELEMENT_HEADER*) {
    return (ThePanel().*Row)[Index];
}

template <int Lamp>
double FSAPI LampPicture(ELEMENT_HEADER*) {
    return ThePanel().lamps[Lamp] - 1;
}

template <Flag Pressed, int Lamp>
double FSAPI LitFlagPicture(ELEMENT_HEADER*) {
    return Overlay(ThePanel().*Pressed, Lamp);
}

template <FlagRow Pressed, int Index, int Lamp>
double FSAPI LitRowPicture(ELEMENT_HEADER*) {
    return Overlay((ThePanel().*Pressed)[Index], Lamp);
}

double FSAPI SensorGroupNeedle(ELEMENT_HEADER*) { return ThePanel().sensorGroupSelector; }
double FSAPI CompartmentNeedle(ELEMENT_HEADER*) { return ThePanel().compartmentSelector; }
double FSAPI CoverPicture(ELEMENT_HEADER*) { return coverClosed; }

// The agent valves close with the switch, whichever way it goes; stages and neutral gas stay fired.
std::int32_t FSAPI OperateSwitch(PIXPOINT*, std::uint32_t) {
    Panel& panel = ThePanel();
    soundBank.PlaySwitchClick();
    panel.powerSwitch = panel.powerSwitch == 0 ? 1 : 0;
    panel.apuAgentOn = 0;
    for (std::uint8_t& valve : panel.engineAgentOn) valve = 0;
    return 1;
}

// One click on the press however many repeats follow, a second on release or leave. The smoke test restarts
// the siren on every event while armed (a playing siren simply goes on) and stops it when let go.
void WorkTestButton(std::uint8_t& button, std::uint32_t flags, bool withSiren) {
    button = 1;
    if (withSiren && ThePanel().sirenArmed == 1) soundBank.StartSiren();
    if (clickLatch == 0 && flags != mouse_flag::kLeftRelease) {
        clickLatch = 1;
        soundBank.PlayButtonClick();
    }
    if (LetGo(flags)) {
        button = 0;
        soundBank.PlayButtonClick();
        clickLatch = 0;
        if (withSiren) soundBank.StopSiren();
    }
}

template <Flag Button, bool WithSiren>
std::int32_t FSAPI TestButton(PIXPOINT*, std::uint32_t flags) {
    WorkTestButton(ThePanel().*Button, flags, WithSiren);
    return 1;
}

// A lit button latches its action only with the panel switched on and powered; it makes no sound.
void WorkLitButton(std::uint8_t& pressed, std::uint8_t& latch, bool sequenceReady, std::uint32_t flags) {
    const Panel& panel = ThePanel();
    pressed = 1;
    if (panel.powerSwitch == 1 && panel.powered == 1 && sequenceReady) latch = 1;
    if (LetGo(flags)) pressed = 0;
}

template <Flag Pressed, Flag Latch>
std::int32_t FSAPI LitFlagButton(PIXPOINT*, std::uint32_t flags) {
    Panel& panel = ThePanel();
    WorkLitButton(panel.*Pressed, panel.*Latch, true, flags);
    return 1;
}

template <FlagRow Pressed, FlagRow Latch, int Index>
std::int32_t FSAPI LitRowButton(PIXPOINT*, std::uint32_t flags) {
    Panel& panel = ThePanel();
    WorkLitButton((panel.*Pressed)[Index], (panel.*Latch)[Index], true, flags);
    return 1;
}

// The discharge stages fire in order: each needs the ones before it.
template <int Stage>
std::int32_t FSAPI StageButton(PIXPOINT*, std::uint32_t flags) {
    Panel& panel = ThePanel();
    bool ready = true;
    for (int before = 0; before < Stage; ++before) ready = ready && panel.stageFired[before] == 1;
    WorkLitButton(panel.stagePressed[Stage], panel.stageFired[Stage], ready, flags);
    return 1;
}

template <std::int32_t Panel::*Selector, std::int32_t Highest>
std::int32_t FSAPI SelectorUp(PIXPOINT*, std::uint32_t) {
    std::int32_t& position = ThePanel().*Selector;
    if (position < Highest) {
        soundBank.PlaySelectorClick();
        ++position;
    }
    return 1;
}

template <std::int32_t Panel::*Selector>
std::int32_t FSAPI SelectorDown(PIXPOINT*, std::uint32_t) {
    std::int32_t& position = ThePanel().*Selector;
    if (position >= 1) {
        soundBank.PlaySelectorClick();
        --position;
    }
    return 1;
}

// Left works the switch while the cover is open; right opens or closes the cover, and closing it pushes the
// switch back on.
std::int32_t FSAPI SirenSwitch(PIXPOINT*, std::uint32_t flags) {
    Panel& panel = ThePanel();
    if (flags == mouse_flag::kLeftSingle && coverClosed == 0) {
        soundBank.PlaySwitchClick();
        panel.sirenSwitch = panel.sirenSwitch == 0 ? 1 : 0;
    }
    if (flags == mouse_flag::kRightSingle) {
        soundBank.PlayCoverClick();
        coverClosed = coverClosed == 0 ? 1 : 0;
        if (coverClosed == 1 && panel.sirenSwitch == 0) {
            panel.sirenSwitch = 1;
            soundBank.PlaySwitchClick();
        }
    }
    return 1;
}

}  // namespace

namespace gauges {
namespace PPS_records {

using gauge_builder::Icon;
using gauge_builder::kImageTransparentErase;
using gauge_builder::kImageTransparentEraseBright;
using gauge_builder::MouseChild;
using gauge_builder::NeedlePoint;

constexpr std::int32_t kSelectorMaxTurn = 50;
constexpr PIXPOINT kSelectorPivotInBitmap = {25, 11};

// Each lit button is its dark picture with the lit overlay stacked on it at the same place.
constexpr PIXPOINT kNeutralGasButton = {352, 341};
constexpr PIXPOINT kApuAgentButton = {280, 286};
constexpr PIXPOINT kStage1Button = {219, 224};
constexpr PIXPOINT kStage2Button = {220, 173};
constexpr PIXPOINT kStage3Button = {220, 119};
constexpr PIXPOINT kSirenSwitch = {454, 303};
constexpr PIXPOINT kEngine1AgentButton = {42, 295};
constexpr PIXPOINT kEngine2AgentButton = {100, 295};
constexpr PIXPOINT kEngine3AgentButton = {154, 295};

// The chain is built from its far end, so that each element can name the list holding the next one.
constinit ELEMENT_ICON engine3AgentLit =
    Icon(310, kEngine3AgentButton, 2, kImageTransparentEraseBright,
         LitRowPicture<&Panel::engineAgentPressed, 2, Panel::kLampEngineAgent1 + 2>, &PPS);
constinit ELEMENT_HEADER* after46[] = {&engine3AgentLit.header, nullptr};
constinit ELEMENT_ICON engine3Agent =
    Icon(308, kEngine3AgentButton, 2, kImageTransparentErase, RowPicture<&Panel::engineAgentPressed, 2>, &PPS, after46);
constinit ELEMENT_HEADER* after45[] = {&engine3Agent.header, nullptr};
constinit ELEMENT_ICON engine2AgentLit =
    Icon(306, kEngine2AgentButton, 2, kImageTransparentEraseBright,
         LitRowPicture<&Panel::engineAgentPressed, 1, Panel::kLampEngineAgent1 + 1>, &PPS, after45);
constinit ELEMENT_HEADER* after44[] = {&engine2AgentLit.header, nullptr};
constinit ELEMENT_ICON engine2Agent =
    Icon(304, kEngine2AgentButton, 2, kImageTransparentErase, RowPicture<&Panel::engineAgentPressed, 1>, &PPS, after44);
constinit ELEMENT_HEADER* after43[] = {&engine2Agent.header, nullptr};
constinit ELEMENT_ICON engine1AgentLit =
    Icon(302, kEngine1AgentButton, 2, kImageTransparentEraseBright,
         LitRowPicture<&Panel::engineAgentPressed, 0, Panel::kLampEngineAgent1>, &PPS, after43);
constinit ELEMENT_HEADER* after42[] = {&engine1AgentLit.header, nullptr};
constinit ELEMENT_ICON engine1Agent =
    Icon(300, kEngine1AgentButton, 2, kImageTransparentErase, RowPicture<&Panel::engineAgentPressed, 0>, &PPS, after42);
constinit ELEMENT_HEADER* after41[] = {&engine1Agent.header, nullptr};
constinit ELEMENT_ICON sirenCover = Icon(298, kSirenSwitch, 2, kImageTransparentErase, CoverPicture, &PPS, after41);
constinit ELEMENT_HEADER* after40[] = {&sirenCover.header, nullptr};
constinit ELEMENT_ICON sirenLever =
    Icon(296, kSirenSwitch, 2, kImageTransparentErase, FlagPicture<&Panel::sirenSwitch>, &PPS, after40);
constinit ELEMENT_HEADER* after39[] = {&sirenLever.header, nullptr};
constinit ELEMENT_ICON sirenGuard = Icon(295, kSirenSwitch, 1, kImageTransparentErase, nullptr, &PPS, after39);
constinit ELEMENT_HEADER* after38[] = {&sirenGuard.header, nullptr};
constinit ELEMENT_ICON extinguisherTest =
    Icon(260, {337, 188}, 2, kImageTransparentErase, FlagPicture<&Panel::extinguisherTestButton>, &PPS, after38);
constinit ELEMENT_HEADER* after37[] = {&extinguisherTest.header, nullptr};
constinit ELEMENT_ICON stage3Lit = Icon(293, kStage3Button, 2, kImageTransparentEraseBright,
                                        LitRowPicture<&Panel::stagePressed, 2, Panel::kLampStage1 + 2>, &PPS, after37);
constinit ELEMENT_HEADER* after36[] = {&stage3Lit.header, nullptr};
constinit ELEMENT_ICON stage3 =
    Icon(291, kStage3Button, 2, kImageTransparentErase, RowPicture<&Panel::stagePressed, 2>, &PPS, after36);
constinit ELEMENT_HEADER* after35[] = {&stage3.header, nullptr};
constinit ELEMENT_ICON stage2Lit = Icon(289, kStage2Button, 2, kImageTransparentEraseBright,
                                        LitRowPicture<&Panel::stagePressed, 1, Panel::kLampStage1 + 1>, &PPS, after35);
constinit ELEMENT_HEADER* after34[] = {&stage2Lit.header, nullptr};
constinit ELEMENT_ICON stage2 =
    Icon(287, kStage2Button, 2, kImageTransparentErase, RowPicture<&Panel::stagePressed, 1>, &PPS, after34);
constinit ELEMENT_HEADER* after33[] = {&stage2.header, nullptr};
constinit ELEMENT_ICON stage1Lit = Icon(285, kStage1Button, 2, kImageTransparentEraseBright,
                                        LitRowPicture<&Panel::stagePressed, 0, Panel::kLampStage1>, &PPS, after33);
constinit ELEMENT_HEADER* after32[] = {&stage1Lit.header, nullptr};
constinit ELEMENT_ICON stage1 =
    Icon(283, kStage1Button, 2, kImageTransparentErase, RowPicture<&Panel::stagePressed, 0>, &PPS, after32);
constinit ELEMENT_HEADER* after31[] = {&stage1.header, nullptr};

// Off, engines 1 to 3, APU.
constinit NEEDLE_POINT compartmentPoints[] = {
    NeedlePoint(404, 118, 0.0), NeedlePoint(410, 98, 1.0), NeedlePoint(426, 82, 2.0),
    NeedlePoint(447, 76, 3.0),  NeedlePoint(467, 80, 4.0),
};
constinit ELEMENT_NEEDLE compartmentSelector =
    gauge_builder::Needle(282, {446, 113}, kSelectorPivotInBitmap, compartmentPoints, 5, kSelectorMaxTurn,
                          kImageTransparentErase, CompartmentNeedle, &PPS, after31);
constinit ELEMENT_HEADER* after30[] = {&compartmentSelector.header, nullptr};
// Off, sensor groups 1 to 6, fire.
constinit NEEDLE_POINT sensorGroupPoints[] = {
    NeedlePoint(307, 126, 0.0), NeedlePoint(302, 98, 1.0), NeedlePoint(321, 84, 2.0),  NeedlePoint(340, 80, 3.0),
    NeedlePoint(358, 85, 4.0),  NeedlePoint(375, 98, 5.0), NeedlePoint(378, 118, 6.0), NeedlePoint(372, 138, 7.0),
};
constinit ELEMENT_NEEDLE sensorGroupSelector =
    gauge_builder::Needle(282, {340, 112}, kSelectorPivotInBitmap, sensorGroupPoints, 8, kSelectorMaxTurn,
                          kImageTransparentErase, SensorGroupNeedle, &PPS, after30);
constinit ELEMENT_HEADER* after29[] = {&sensorGroupSelector.header, nullptr};
constinit ELEMENT_ICON smokeTest =
    Icon(260, {292, 188}, 2, kImageTransparentErase, FlagPicture<&Panel::smokeTestButton>, &PPS, after29);
constinit ELEMENT_HEADER* after28[] = {&smokeTest.header, nullptr};
constinit ELEMENT_ICON apuAgentLit = Icon(280, kApuAgentButton, 2, kImageTransparentEraseBright,
                                          LitFlagPicture<&Panel::apuAgentPressed, Panel::kLampApuAgent>, &PPS, after28);
constinit ELEMENT_HEADER* after27[] = {&apuAgentLit.header, nullptr};
constinit ELEMENT_ICON apuAgent =
    Icon(278, kApuAgentButton, 2, kImageTransparentErase, FlagPicture<&Panel::apuAgentPressed>, &PPS, after27);
constinit ELEMENT_HEADER* after26[] = {&apuAgent.header, nullptr};
constinit ELEMENT_ICON neutralGasLit =
    Icon(276, kNeutralGasButton, 2, kImageTransparentEraseBright,
         LitFlagPicture<&Panel::neutralGasPressed, Panel::kLampNeutralGas>, &PPS, after26);
constinit ELEMENT_HEADER* after25[] = {&neutralGasLit.header, nullptr};
constinit ELEMENT_ICON neutralGas =
    Icon(274, kNeutralGasButton, 2, kImageTransparentErase, FlagPicture<&Panel::neutralGasPressed>, &PPS, after25);
constinit ELEMENT_HEADER* after24[] = {&neutralGas.header, nullptr};

// The lamps, one picture each, shown while lit.
constinit ELEMENT_ICON lamp20 = Icon(273, {105, 167}, 1, kImageTransparentEraseBright, LampPicture<20>, &PPS, after24);
constinit ELEMENT_HEADER* after23[] = {&lamp20.header, nullptr};
constinit ELEMENT_ICON lamp19 = Icon(1280, {160, 96}, 1, kImageTransparentEraseBright, LampPicture<19>, &PPS, after23);
constinit ELEMENT_HEADER* after22[] = {&lamp19.header, nullptr};
constinit ELEMENT_ICON lamp18 = Icon(272, {159, 139}, 1, kImageTransparentEraseBright, LampPicture<18>, &PPS, after22);
constinit ELEMENT_HEADER* after21[] = {&lamp18.header, nullptr};
constinit ELEMENT_ICON lamp17 = Icon(271, {104, 138}, 1, kImageTransparentEraseBright, LampPicture<17>, &PPS, after21);
constinit ELEMENT_HEADER* after20[] = {&lamp17.header, nullptr};
constinit ELEMENT_ICON lamp16 = Icon(270, {104, 94}, 1, kImageTransparentEraseBright, LampPicture<16>, &PPS, after20);
constinit ELEMENT_HEADER* after19[] = {&lamp16.header, nullptr};
constinit ELEMENT_ICON lamp15 = Icon(269, {162, 66}, 1, kImageTransparentEraseBright, LampPicture<15>, &PPS, after19);
constinit ELEMENT_HEADER* after18[] = {&lamp15.header, nullptr};
constinit ELEMENT_ICON lamp14 = Icon(268, {104, 65}, 1, kImageTransparentEraseBright, LampPicture<14>, &PPS, after18);
constinit ELEMENT_HEADER* after17[] = {&lamp14.header, nullptr};
constinit ELEMENT_ICON lamp13 = Icon(267, {50, 152}, 1, kImageTransparentEraseBright, LampPicture<13>, &PPS, after17);
constinit ELEMENT_HEADER* after16[] = {&lamp13.header, nullptr};
constinit ELEMENT_ICON lamp12 = Icon(267, {49, 81}, 1, kImageTransparentEraseBright, LampPicture<12>, &PPS, after16);
constinit ELEMENT_HEADER* after15[] = {&lamp12.header, nullptr};
constinit ELEMENT_ICON lamp11 = Icon(266, {162, 228}, 1, kImageTransparentEraseBright, LampPicture<11>, &PPS, after15);
constinit ELEMENT_HEADER* after14[] = {&lamp11.header, nullptr};
constinit ELEMENT_ICON lamp10 = Icon(266, {105, 227}, 1, kImageTransparentEraseBright, LampPicture<10>, &PPS, after14);
constinit ELEMENT_HEADER* after13[] = {&lamp10.header, nullptr};
constinit ELEMENT_ICON lamp9 = Icon(266, {48, 227}, 1, kImageTransparentEraseBright, LampPicture<9>, &PPS, after13);
constinit ELEMENT_HEADER* after12[] = {&lamp9.header, nullptr};
constinit ELEMENT_ICON lamp8 = Icon(265, {162, 256}, 1, kImageTransparentEraseBright, LampPicture<8>, &PPS, after12);
constinit ELEMENT_HEADER* after11[] = {&lamp8.header, nullptr};
constinit ELEMENT_ICON lamp7 = Icon(265, {106, 257}, 1, kImageTransparentEraseBright, LampPicture<7>, &PPS, after11);
constinit ELEMENT_HEADER* after10[] = {&lamp7.header, nullptr};
constinit ELEMENT_ICON lamp6 = Icon(265, {48, 256}, 1, kImageTransparentEraseBright, LampPicture<6>, &PPS, after10);
constinit ELEMENT_HEADER* after9[] = {&lamp6.header, nullptr};
constinit ELEMENT_ICON lamp5 = Icon(264, {231, 348}, 1, kImageTransparentEraseBright, LampPicture<5>, &PPS, after9);
constinit ELEMENT_HEADER* after8[] = {&lamp5.header, nullptr};
constinit ELEMENT_ICON lamp4 = Icon(263, {161, 365}, 1, kImageTransparentEraseBright, LampPicture<4>, &PPS, after8);
constinit ELEMENT_HEADER* after7[] = {&lamp4.header, nullptr};
constinit ELEMENT_ICON lamp3 = Icon(263, {106, 365}, 1, kImageTransparentEraseBright, LampPicture<3>, &PPS, after7);
constinit ELEMENT_HEADER* after6[] = {&lamp3.header, nullptr};
constinit ELEMENT_ICON lamp2 = Icon(263, {48, 365}, 1, kImageTransparentEraseBright, LampPicture<2>, &PPS, after6);
constinit ELEMENT_HEADER* after5[] = {&lamp2.header, nullptr};
constinit ELEMENT_ICON lamp1 = Icon(262, {284, 234}, 1, kImageTransparentEraseBright, LampPicture<1>, &PPS, after5);
constinit ELEMENT_HEADER* after4[] = {&lamp1.header, nullptr};
constinit ELEMENT_ICON lampTest =
    Icon(260, {382, 189}, 2, kImageTransparentErase, FlagPicture<&Panel::lampTestButton>, &PPS, after4);
constinit ELEMENT_HEADER* after3[] = {&lampTest.header, nullptr};
constinit ELEMENT_ICON lamp0 = Icon(259, {400, 235}, 1, kImageTransparentEraseBright, LampPicture<0>, &PPS, after3);
constinit ELEMENT_HEADER* after2[] = {&lamp0.header, nullptr};
constinit ELEMENT_ICON operateSwitch =
    Icon(257, {404, 276}, 2, kImageTransparentErase, FlagPicture<&Panel::powerSwitch>, &PPS, after2);
constinit ELEMENT_HEADER* afterBackground[] = {&operateSwitch.header, nullptr};
constinit ELEMENT_STATIC_IMAGE background = gauge_builder::BackgroundImage(256, &PPS, afterBackground);
constinit ELEMENT_HEADER* elements[] = {&background.header, nullptr};

constinit MOUSERECT mouse[] = {
    gauge_builder::MouseOpenParent(),
    MouseChild(404, 276, 30, 60, mouse_cursor::kHand, mouse_flag::kLeftSingle, OperateSwitch),
    MouseChild(382, 189, 18, 18, mouse_cursor::kHand, kButtonEvents, TestButton<&Panel::lampTestButton, false>),
    MouseChild(352, 341, 46, 50, mouse_cursor::kHand, kButtonEvents,
               LitFlagButton<&Panel::neutralGasPressed, &Panel::neutralGasOn>),
    MouseChild(280, 286, 46, 50, mouse_cursor::kHand, kButtonEvents,
               LitFlagButton<&Panel::apuAgentPressed, &Panel::apuAgentOn>),
    MouseChild(292, 188, 18, 18, mouse_cursor::kHand, kButtonEvents, TestButton<&Panel::smokeTestButton, true>),
    MouseChild(340, 80, 35, 70, mouse_cursor::kUpArrow, mouse_flag::kLeftSingle,
               SelectorUp<&Panel::sensorGroupSelector, kSensorGroupHighest>),
    MouseChild(305, 80, 35, 70, mouse_cursor::kDownArrow, mouse_flag::kLeftSingle,
               SelectorDown<&Panel::sensorGroupSelector>),
    MouseChild(445, 80, 35, 70, mouse_cursor::kUpArrow, mouse_flag::kLeftSingle,
               SelectorUp<&Panel::compartmentSelector, kCompartmentHighest>),
    MouseChild(410, 80, 35, 70, mouse_cursor::kDownArrow, mouse_flag::kLeftSingle,
               SelectorDown<&Panel::compartmentSelector>),
    MouseChild(219, 224, 46, 50, mouse_cursor::kHand, kButtonEvents, StageButton<0>),
    MouseChild(220, 173, 46, 50, mouse_cursor::kHand, kButtonEvents, StageButton<1>),
    MouseChild(220, 119, 46, 50, mouse_cursor::kHand, kButtonEvents, StageButton<2>),
    MouseChild(337, 188, 18, 18, mouse_cursor::kHand, kButtonEvents, TestButton<&Panel::extinguisherTestButton, false>),
    MouseChild(454, 303, 50, 104, mouse_cursor::kHand, kSirenSwitchEvents, SirenSwitch),
    MouseChild(42, 295, 46, 50, mouse_cursor::kHand, kButtonEvents,
               LitRowButton<&Panel::engineAgentPressed, &Panel::engineAgentOn, 0>),
    MouseChild(100, 295, 46, 50, mouse_cursor::kHand, kButtonEvents,
               LitRowButton<&Panel::engineAgentPressed, &Panel::engineAgentOn, 1>),
    MouseChild(154, 295, 46, 50, mouse_cursor::kHand, kButtonEvents,
               LitRowButton<&Panel::engineAgentPressed, &Panel::engineAgentOn, 2>),
    gauge_builder::MouseCloseParent(),
    gauge_builder::MouseListEnd(),
};

}  // namespace PPS_records

constinit GAUGEHDR PPS = gauge_builder::VisibleGaugeHeader("PPS", PPS_records::elements, PPS_records::mouse);
}  // namespace gauges
