// Turning the model's doubles into whole numbers without undefined
// behaviour, whatever the simulator or a sibling module handed in.
#pragma once

#include <cstdint>
#include <limits>

// Truncates toward zero like a cast, but a value beyond the 32-bit range
// gives the nearest end of it, and not-a-number gives 0.
constexpr std::int32_t TruncateToInt32(double value) {
    if (!(value == value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}
