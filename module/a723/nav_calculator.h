// Great-circle navigation of the A-723 receiver; it keeps no state.
//
// The receiver's computer turns degrees into radians with 3.14, not pi, both
// ways; distances and courses carry that scale, and the constants below keep
// it exactly.
#pragma once

#include <cstdint>

class A723Receiver;

class NavCalculator {
public:
    static constexpr double kPi = 3.14;
    static constexpr double kDegreesToArgument = 0.017444444444444446;  // kPi / 180
    static constexpr double kHalfTurnDegrees = 180.0;
    static constexpr double kFullTurnDegrees = 360.0;
    static constexpr double kMinutesPerDegree = 60.0;
    static constexpr double kKilometresPerNauticalMile = 1.852;
    static constexpr double kStationRangeKm = 10000.0;
    static constexpr int kStationCount = 5;

    struct Station {
        double latitude;
        double longitude;
    };
    // In the order they are tested.
    static constexpr Station kStations[kStationCount] = {
        {55.7561, 84.4479}, {45.4133, 38.1581}, {50.0733, 136.6067}, {68.0356, 34.6833}, {67.0522, 63.072},
    };

    // Parts of SplitDegrees.
    enum DegreePart : std::int32_t { kWholeDegrees = 0, kMinutes = 1, kTenthsOfMinute = 2 };

    // Great-circle distance in kilometres; 0 between a point and itself.
    double Distance(double lat1, double lon1, double lat2, double lon2) const;
    // Initial great-circle course from the first point to the second, referred
    // to the meridian of the third, in [0, 360). Along one meridian the course
    // is 0 northward (or for one point) and 180 southward.
    double Course(double lat1, double lon1, double lat2, double lon2, double lat3, double lon3) const;
    // Ground stations within range of the receiver's present position (slot 0).
    std::int32_t StationsInRange(const A723Receiver& receiver) const;
    // Whole degrees, minutes rounded to the nearest, or tenths of a minute
    // counted from the rounded minute, of a value that is not negative. A
    // negative result is 0; the minutes may reach 60 without carrying.
    std::int32_t SplitDegrees(double value, std::int32_t part) const;
};
