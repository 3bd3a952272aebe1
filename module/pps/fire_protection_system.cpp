#include "pps/fire_protection_system.h"

#include <optional>

#include "state/data_exchanger.h"
#include "state/shared_slots.h"

namespace {

// Shared slots read; none is written.
constexpr int kSlotPower = shared_slot::kBusPower;              // also the first siren condition
constexpr int kSlotSirenEnable = shared_slot::kSirenEnable;     // the siren may sound when set
constexpr int kSlotSirenInhibit = shared_slot::kSirenInhibit;   // the siren may sound when clear
constexpr int kSlotFuelValve1 = shared_slot::kFuelValve1;       // to 107, engines 1 to 3

// Each step of the flash cycle lasts until strictly more than this has passed.
constexpr double kFlashStepSeconds = 0.25;

// Exact comparisons: a failed read (-1.0) and not-a-number count as set.
bool SlotSet(int slot) { return DataExchanger().Read(slot) != 0.0; }
bool SlotClear(int slot) { return DataExchanger().Read(slot) == 0.0; }

}  // namespace

FireProtectionSystem::FireProtectionSystem()
    : owner(nullptr),
      lamps{},
      neutralGasPressed(0),
      apuAgentPressed(0),
      stagePressed{0, 0, 0},
      engineAgentPressed{0, 0, 0},
      powerSwitch(0),
      sirenSwitch(1),
      smokeTestButton(0),
      extinguisherTestButton(0),
      lampTestButton(0),
      compartmentSelector(0),
      sensorGroupSelector(0),
      sirenArmed(0),
      flashRequest(0),
      flashState(kFlashIdle),
      powered(0),
      neutralGasOn(0),
      apuAgentOn(0),
      stageFired{0, 0, 0},
      engineAgentOn{0, 0, 0} {}

FireProtectionSystem::~FireProtectionSystem() = default;

void FireProtectionSystem::Update() {
    UpdateFlash();
    UpdateSirenArming();
    powered = SlotSet(kSlotPower);
    // With the siren switched off the check lamp burns steadily through the smoke test.
    const bool flashLit = sirenSwitch == 0 || flashState == kFlashLit;
    UpdateLamps(flashLit);
}

// The steps are tested in order within one frame, so a finished cycle spends
// at least one frame idle before a held button starts the next.
void FireProtectionSystem::UpdateFlash() {
    if (smokeTestButton != 0) flashRequest = 1;
    if (flashRequest != 0 && flashState == kFlashIdle) {
        flashState = kFlashLit;
        flashTimer.Start();
        flashRequest = 0;
    }
    if (flashState == kFlashLit && flashTimer.Elapsed() > kFlashStepSeconds) {
        flashState = kFlashDark;
        flashTimer.Stop();
        flashTimer.Start();
    }
    if (flashState == kFlashDark && flashTimer.Elapsed() > kFlashStepSeconds) {
        flashState = kFlashIdle;
        flashTimer.Stop();
    }
}

void FireProtectionSystem::UpdateSirenArming() {
    // The exchangers of the one condition stay open until it is settled, and
    // the reads stop at the first condition that fails.
    std::optional<DataExchanger> power, enable, inhibit;
    bool armed = powerSwitch != 0 && sirenSwitch != 0;
    if (armed) armed = power.emplace().Read(kSlotPower) != 0.0;
    if (armed) armed = enable.emplace().Read(kSlotSirenEnable) != 0.0;
    if (armed) armed = inhibit.emplace().Read(kSlotSirenInhibit) == 0.0;
    sirenArmed = armed;
}

void FireProtectionSystem::UpdateLamps(bool flashLit) {
    if (powered == 0) {
        for (std::uint8_t& lamp : lamps) lamp = 0;
        return;
    }
    const bool on = powerSwitch != 0;
    const bool lampTest = lampTestButton != 0;
    const bool test = on && lampTest;
    const bool smokeTest = smokeTestButton != 0;

    lamps[kLampSwitchOn] = !on || lampTest;
    lamps[kLampApuFire] = test;
    // The valve slots are read only when the lamp test does not light the lamps anyway.
    for (int engine = 0; engine < kEngineCount; ++engine)
        lamps[kLampFuelClosed1 + engine] = on && (lampTest || SlotClear(kSlotFuelValve1 + engine));
    lamps[kLampCheck] = on && (lampTest || (smokeTest && flashLit));
    for (int engine = 0; engine < kEngineCount; ++engine) lamps[kLampOverheat1 + engine] = test;
    for (int engine = 0; engine < kEngineCount; ++engine) lamps[kLampFire1 + engine] = test;
    for (int lamp = kLampSmokeFirst; lamp <= kLampSmokeLast; ++lamp) lamps[lamp] = on && (lampTest || smokeTest);
    lamps[kLampNeutralGas] = on && (lampTest || neutralGasOn != 0);
    lamps[kLampApuAgent] = on && (lampTest || apuAgentOn != 0);
    for (int stage = 0; stage < kStageCount; ++stage)
        lamps[kLampStage1 + stage] = on && (lampTest || stageFired[stage] != 0 || extinguisherTestButton != 0);
    for (int engine = 0; engine < kEngineCount; ++engine)
        lamps[kLampEngineAgent1 + engine] = on && (lampTest || engineAgentOn[engine] != 0);
}
