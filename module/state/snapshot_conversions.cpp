#include "state/snapshot_conversions.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace snapshot_conversions {

float RoundToFloat(double value) {
    // Halfway between FLT_MAX and the next power of two rounds to infinity.
    constexpr double kOverflowsFloat = static_cast<double>(FLT_MAX) + 0x1p103;
    if (std::isfinite(value) && std::fabs(value) >= kOverflowsFloat)
        return value > 0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

}  // namespace snapshot_conversions
