#include "airdata/air_data_computer.h"

#include <algorithm>
#include <cmath>

#include "state/aircraft_state.h"
#include "state/numeric.h"

namespace {

// The computer runs only on a supply strictly above this.
constexpr double kLowestSupply = 20.0;
// Speeds at or below this read as zero.
constexpr double kLowestShownSpeed = 50.0;

// The simulator's Mach variable: value / 65536 * 3.2.
constexpr double kMachRawUnit = 65536.0;
constexpr double kMachRawScale = 3.2;

// Density ratio of the standard atmosphere: (1 - h / 44300) ^ 4.256.
constexpr double kDensityAltitudeScale = 44300.0;
constexpr double kDensityExponent = 4.256;
constexpr double kSquareRoot = 0.5;

constexpr double kZeroCelsiusInKelvin = 273.15;
constexpr double kSoundSpeedPerRootKelvin = 20.0;  // metres per second
constexpr double kKmhPerMetrePerSecond = 3.6;

// Below this altitude the limit is the fixed low-level one; above it the
// equivalent speed, capped.
constexpr double kLimitChangeAltitude = 7000.0;
constexpr std::int32_t kLowLevelLimit = 324;
constexpr std::int32_t kHighLevelLimitCap = 310;

// From this Mach number on the drums show Mach instead of speed.
constexpr double kMachModeFrom = 0.5;
constexpr double kMachHundredths = 100.0;
constexpr std::int32_t kHundreds = 100;
constexpr std::int32_t kTens = 10;

}  // namespace

AirDataComputer::AirDataComputer()
    : owner(nullptr),
      speedShown(0),
      limitSpeed(0),
      lowDigit(0),
      highDigit(0),
      offFlag(true),
      machMode(false),
      mach(0.0),
      densityFactor(0.0),
      trueSpeedKmh(0.0),
      equivalentSpeed(0),
      enabled(false) {}

AirDataComputer::~AirDataComputer() = default;

void AirDataComputer::Update() {
    const AircraftState& state = *owner;
    // A supply that is not a number fails the comparison and counts as off.
    if (!enabled || !(state.supplyVoltage > kLowestSupply)) {
        speedShown = 0;
        limitSpeed = 0;
        offFlag = true;
        machMode = false;
        lowDigit = kBlankDigit;
        highDigit = kBlankDigit;
        return;
    }
    offFlag = false;
    speedShown = TruncateToInt32(state.speedToken61 > kLowestShownSpeed ? state.speedToken61 : 0.0);
    mach = state.machRaw / kMachRawUnit * kMachRawScale;
    densityFactor = std::pow(1.0 / (1.0 - state.altitudeM / kDensityAltitudeScale), kDensityExponent);
    trueSpeedKmh = std::pow(state.airTempC + kZeroCelsiusInKelvin, kSquareRoot) * (mach * kSoundSpeedPerRootKelvin) *
                   kKmhPerMetrePerSecond;
    equivalentSpeed = TruncateToInt32(trueSpeedKmh / std::pow(densityFactor, kSquareRoot));
    // Not-a-number altitude fails the comparison and takes the capped limit.
    limitSpeed =
        state.altitudeM < kLimitChangeAltitude ? kLowLevelLimit : std::min(equivalentSpeed, kHighLevelLimitCap);
    if (mach < kMachModeFrom) {
        highDigit = speedShown / kHundreds;
        lowDigit = speedShown % kHundreds / kTens;
        machMode = false;
    } else {
        // Not-a-number Mach lands here too and reads 0.0.
        const std::int32_t hundredths = TruncateToInt32(mach * kMachHundredths);
        highDigit = hundredths / kTens;
        lowDigit = hundredths % kTens;
        machMode = true;
    }
}
