// The PPS fire protection panel: lamps, flash sequence and siren arming.
// The gauge's mouse handlers set the switch, button, selector and latch
// fields; once a frame Update works out the lamps, whether the siren may
// sound and the flash rhythm of the check lamp. No fire, overheat or smoke is
// modelled: apart from the fuel-closed lamps the warning lamps light only
// under a test.
#pragma once

#include <cstdint>

#include "state/sim_stopwatch.h"

class AircraftState;

class FireProtectionSystem {
public:
    static constexpr int kLampCount = 29;
    static constexpr int kEngineCount = 3;
    static constexpr int kStageCount = 3;

    // Lamp indices; engine lamps run 1, 2, 3 left to right on the panel.
    enum Lamp : int {
        kLampSwitchOn = 0,  // reminder to switch the system on
        kLampApuFire = 1,
        kLampFuelClosed1 = 2,  // to 4
        kLampCheck = 5,        // check fire / overheat / smoke, flashes during the smoke test
        kLampOverheat1 = 6,    // to 8
        kLampFire1 = 9,        // to 11
        kLampSmokeFirst = 12,  // 12 to 20: compartment smoke and zone lamps
        kLampSmokeLast = 20,
        kLampNeutralGas = 21,
        kLampApuAgent = 22,
        kLampStage1 = 23,        // to 25
        kLampEngineAgent1 = 26,  // to 28
    };

    enum FlashState : std::int32_t { kFlashIdle = 0, kFlashLit = 1, kFlashDark = 2 };

    FireProtectionSystem();
    ~FireProtectionSystem();
    FireProtectionSystem(const FireProtectionSystem&) = delete;
    FireProtectionSystem& operator=(const FireProtectionSystem&) = delete;

    void Update();

    AircraftState* owner;  // set by the owner once every system exists
    SimStopwatch flashTimer;
    std::uint8_t lamps[kLampCount];
    std::uint8_t neutralGasPressed;
    std::uint8_t apuAgentPressed;
    std::uint8_t stagePressed[kStageCount];
    std::uint8_t engineAgentPressed[kEngineCount];
    std::uint8_t powerSwitch;  // 1 operate
    std::uint8_t sirenSwitch;  // 1 siren on
    std::uint8_t smokeTestButton;
    std::uint8_t extinguisherTestButton;
    std::uint8_t lampTestButton;
    std::int32_t compartmentSelector;  // 0 to 4: off, engines 1 to 3, APU; shown only
    std::int32_t sensorGroupSelector;  // 0 to 7: off, groups 1 to 6, fire; shown only
    std::uint8_t sirenArmed;
    std::uint8_t flashRequest;
    std::int32_t flashState;  // FlashState
    std::uint8_t powered;
    // Latches, set by the handlers only.
    std::uint8_t neutralGasOn;
    std::uint8_t apuAgentOn;
    std::uint8_t stageFired[kStageCount];
    std::uint8_t engineAgentOn[kEngineCount];

private:
    void UpdateFlash();
    void UpdateSirenArming();
    void UpdateLamps(bool flashLit);
};
