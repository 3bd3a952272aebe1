// The air-data computer behind the KAI_487 indicator: speed and limit-speed
// needles, the two-digit drums (speed or Mach), the Mach marker and the off
// flag, worked out once a frame from the snapshot while the AZS_KAI_487
// breaker is on and the supply is up.
#pragma once

#include <cstdint>

class AircraftState;

class AirDataComputer {
public:
    static constexpr std::int32_t kBlankDigit = -1;

    AirDataComputer();
    ~AirDataComputer();
    AirDataComputer(const AirDataComputer&) = delete;
    AirDataComputer& operator=(const AirDataComputer&) = delete;

    void Update();

    AircraftState* owner;     // set by the owner once every system exists
    std::int32_t speedShown;  // km/h; also on the drums below Mach 0.5
    std::int32_t limitSpeed;  // km/h
    std::int32_t lowDigit;    // right drum, 0 to 9 or kBlankDigit
    std::int32_t highDigit;   // left drum, 0 to 9 or kBlankDigit
    bool offFlag;
    bool machMode;  // the drums show the Mach number
    double mach;
    double densityFactor;  // reciprocal of the density ratio
    double trueSpeedKmh;
    std::int32_t equivalentSpeed;  // km/h, truncated
    bool enabled;                  // the AZS_KAI_487 breaker is on
};
