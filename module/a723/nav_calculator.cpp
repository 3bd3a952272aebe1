#include "a723/nav_calculator.h"

#include <algorithm>
#include <cmath>

#include "a723/a723_receiver.h"
#include "state/numeric.h"

namespace {
constexpr double kHalf = 0.5;
constexpr double kTenths = 10.0;
}  // namespace

double NavCalculator::Distance(double lat1, double lon1, double lat2, double lon2) const {
    const double phi1 = lat1 * kDegreesToArgument;
    const double lambda1 = lon1 * kDegreesToArgument;
    const double phi2 = lat2 * kDegreesToArgument;
    const double lambda2 = lon2 * kDegreesToArgument;
    const double cosine =
        std::sin(phi1) * std::sin(phi2) + std::cos(phi1) * std::cos(phi2) * std::cos(lambda2 - lambda1);
    // Rounding can carry the cosine of a tiny arc just past 1 (and of a half
    // turn past -1), where acos has no value.
    const double arc = std::acos(std::clamp(cosine, -1.0, 1.0));
    return arc * kHalfTurnDegrees / kPi * kMinutesPerDegree * kKilometresPerNauticalMile;
}

double NavCalculator::Course(double lat1, double lon1, double lat2, double lon2, double lat3, double lon3) const {
    const double phi1 = lat1 * kDegreesToArgument;
    const double phi2 = lat2 * kDegreesToArgument;
    const double phi3 = lat3 * kDegreesToArgument;
    // Convergence of the meridians between the start and the reference point.
    const double convergence = std::sin((phi1 + phi3) / 2.0) * (lon3 - lon1);
    const double deltaLambda = lon2 * kDegreesToArgument - lon1 * kDegreesToArgument;

    double course = 0.0;
    // Along one meridian the formula divides zero by zero; the course is then
    // due north, and due south below, as the latitudes settle.
    if (deltaLambda != 0.0) {
        const double x = std::tan(phi2) * std::cos(phi1);
        const double y = x / std::sin(deltaLambda);
        const double z = std::sin(phi1) / std::tan(deltaLambda);
        course = std::atan(1.0 / (y - z)) * kHalfTurnDegrees / kPi;
    }
    if (lat2 < lat1) course += kHalfTurnDegrees;
    course += convergence;

    if (course > kFullTurnDegrees) course -= kFullTurnDegrees;
    if (course < 0.0) course += kFullTurnDegrees;
    // A sample across the 180th meridian makes the convergence nearly a full
    // turn, which one correction leaves outside [0, 360]; and the display has
    // room for three digits. Only such a course is reduced: one in range,
    // 360.0 included, is returned as it is.
    if (course < 0.0 || course > kFullTurnDegrees) {
        course = std::fmod(course, kFullTurnDegrees);
        if (course < 0.0) course += kFullTurnDegrees;  // a tiny negative may round up to 360.0, still in range
    }
    return course;
}

std::int32_t NavCalculator::StationsInRange(const A723Receiver& receiver) const {
    std::int32_t count = 0;
    for (const Station& station : kStations) {
        // Not-a-number compares false and is not counted.
        if (Distance(receiver.slotLat[0], receiver.slotLon[0], station.latitude, station.longitude) < kStationRangeKm)
            ++count;
    }
    return count;
}

std::int32_t NavCalculator::SplitDegrees(double value, std::int32_t part) const {
    const std::int32_t whole = TruncateToInt32(value);
    std::int32_t result = 0;
    switch (part) {
        case kWholeDegrees:
            result = whole;
            break;
        case kMinutes:
            result = TruncateToInt32((value - whole) * kMinutesPerDegree + kHalf);
            break;
        case kTenthsOfMinute: {
            const double minutes = (value - whole) * kMinutesPerDegree;
            result = TruncateToInt32((minutes - TruncateToInt32(minutes + kHalf)) * kTenths + kHalf);
            break;
        }
        default:
            break;
    }
    return std::max(result, 0);
}
