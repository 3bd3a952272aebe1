// Conversions of simulator values into the units of the snapshot.
#pragma once

namespace snapshot_conversions {

inline constexpr double kMetresPerSecondToKmh = 3.6;
inline constexpr double kLatitudeUnitsPerTurn = 40007000.0;
inline constexpr double kLongitudeUnitsPerTurn = 281474976710656.0;  // 2^48
inline constexpr double kDegreesPerTurn = 360.0;

inline double SpeedKmh(double metresPerSecond) { return metresPerSecond * kMetresPerSecondToKmh; }
inline double LatitudeDeg(double value) { return value / kLatitudeUnitsPerTurn * kDegreesPerTurn; }
inline double LongitudeDeg(double value) { return value / kLongitudeUnitsPerTurn * kDegreesPerTurn; }

// True only for a value above zero: zero, negatives and not-a-number are off.
inline bool Flag(double value) { return value > 0.0; }

// Rounds to the nearest 32-bit float; values beyond its range become
// infinities, as the hardware's rounding gives, without an out-of-range cast.
float RoundToFloat(double value);

}  // namespace snapshot_conversions
