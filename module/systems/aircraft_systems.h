// Bus power, the SSOS lamp, the ITV clock, the SO72 transponder's power and
// reply lamp, the cabin-pressure setter, the water supply, drain heating,
// tail-compartment and BI lamps, and the landing model (brake heat and crew
// messages): the state behind the aircraft-systems gauges, advanced once a
// frame. Gauges read and set its fields directly.
#pragma once

#include <cstdint>

#include "state/sim_stopwatch.h"

class AircraftState;
class Settings;

class AircraftSystems {
public:
    static constexpr int kMessageCapacity = 2;
    static constexpr double kFullWater = 1000.0;

    AircraftSystems();
    ~AircraftSystems();
    AircraftSystems(const AircraftSystems&) = delete;
    AircraftSystems& operator=(const AircraftSystems&) = delete;

    void Update();

    std::int32_t transponderMode;  // SO72 selector, 0 to 6
    std::uint8_t transponderPowered;
    std::uint8_t transponderReplyLamp;
    std::int32_t messageCount;  // pending crew messages
    std::int32_t messages[kMessageCapacity];  // codes 0 to 3; newest at messageCount - 1
    double brakeTemperature;  // degrees Celsius
    double waterQuantity;     // 1000 is a full tank
    AircraftState* owner;
    SimStopwatch replyBlinkTimer;
    std::uint8_t busPowered;
    double pressureSignal;     // slot 103 as read this frame: 0 to 3, or -1 when unreadable
    float ardSetterPressure;   // millimetres of mercury, whole numbers
    std::uint8_t ardSetterInitialised;
    std::uint8_t ssosLampOn;
    std::uint8_t ardWindowOpen;
    std::uint8_t ssosSirenArmed;
    std::int32_t clockDigits[4];  // minutes units, minutes tens, hours units, hours tens
    std::uint8_t minuteLatched;
    float latchedMinute;
    std::uint8_t itvBreaker;
    std::uint8_t wingLightsBreaker;
    std::uint8_t doorHeatBreaker;
    std::uint8_t gearVentBreaker;
    std::uint8_t ardHeatBreaker;
    std::uint8_t waterLevelBreaker;
    std::uint8_t waterPump1Breaker;
    std::uint8_t waterPump2Breaker;
    std::int32_t breakerWord;  // bit 0 door heating, bit 1 gear ventilation
    std::int32_t drainHeatSwitch;  // 0, 1 (middle, off) or 2
    std::uint8_t tailSignalBreaker;
    std::uint8_t waterLamps[4];  // empty, quarter, half, full
    std::uint8_t waterCheckPressed;
    std::uint8_t drainCheckPressed;
    std::uint8_t drainHeatLamp;
    std::uint8_t tailCheckPressed;
    std::uint8_t tailLamp;
    std::uint8_t biLamp;

    // The update's own state.
    std::int32_t blinkHoldFrames;  // frames the reply lamp stays lit
    double pendingHeat;            // brake heat gathered, added on the ground
    std::uint8_t brakesNow;
    std::uint8_t brakesBefore;
    std::uint8_t landingHeatAdded;  // since the aircraft last left the ground
    std::uint8_t wasOnGround;
    double touchdownMark;           // aircraftVar54 at the last touchdown
    std::int32_t landingPhase;      // 0 idle, 1 touched down, 2 waiting for the engines
    std::uint8_t fansCooled;
    std::uint8_t code3Raised;
    std::uint8_t messagesWindowOpened;

    // Payload and water rate; the module's own settings unless a test says otherwise.
    const Settings* settings;

private:
    void UpdateSetterStart();
    void UpdateSsos();
    void UpdateClock();
    void CarryDigit(int digit, int next, std::int32_t base);
    void UpdateTransponder();
    void UpdateLanding();
    void UpdateWater();
    void UpdateLamps();
    void PushMessage(std::int32_t code);
    bool FansRun() const;
};
