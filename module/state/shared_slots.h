// The slots of the shared table that this module and the aircraft's other
// gauge modules use, by what each holds. The host's stand-ins for those
// modules, its programs and its tests take the numbers from here too.
#pragma once

namespace shared_slot {

inline constexpr int kCount = 116;

// Written by this module.
inline constexpr int kSetterPressure = 10;  // the cabin-pressure setter's value
inline constexpr int kBreakerWord = 102;    // 2 gear ventilation + 1 door heating
inline constexpr int kWrittenByModule[] = {kSetterPressure, kBreakerWord};

// Published by the other modules; this one reads them.
inline constexpr int kSsosInput1 = 29;
inline constexpr int kSirenEnable = 64;  // PPS siren and SSOS siren
inline constexpr int kReverseOffSlow = 70;
inline constexpr int kPressureSignal = 103;
inline constexpr int kSirenInhibit = 104;
inline constexpr int kFuelValve1 = 105;  // to 107, engines 1 to 3: clear when the valve is closed
inline constexpr int kBusPower = 109;
inline constexpr int kSsosInput3 = 112;
inline constexpr int kSsosInput2 = 113;
inline constexpr int kFanPower = 114;
inline constexpr int kTransponderPower = 115;

}  // namespace shared_slot
