// The receiver's navigation math: distance, course with the convergence of
// meridians, station coverage and the split of degrees for the displays.
#include "a723/nav_calculator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "a723/a723_receiver.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class NavCalculatorTest : public testing::Test {
protected:
    NavCalculator nav;
};

TEST_F(NavCalculatorTest, ConvertsWithThreePointOneFourNotPi) {
    EXPECT_EQ(NavCalculator::kPi, 3.14);
    EXPECT_EQ(NavCalculator::kDegreesToArgument, 0.017444444444444446);
    EXPECT_DOUBLE_EQ(NavCalculator::kDegreesToArgument, 3.14 / 180.0);
}

TEST_F(NavCalculatorTest, OneDegreeOfLatitudeIsSixtyNauticalMiles) {
    EXPECT_NEAR(nav.Distance(10.0, 20.0, 11.0, 20.0), 111.12, 1e-6);
    EXPECT_NEAR(nav.Distance(-0.5, -75.0, 0.5, -75.0), 111.12, 1e-6);
}

TEST_F(NavCalculatorTest, ThePiScaleShowsInLongDistances) {
    // A quarter turn of latitude is 5400 nautical miles on the true sphere; the
    // 3.14 scale stretches every arc back to whole degrees, so it still is.
    EXPECT_NEAR(nav.Distance(0.0, 0.0, 90.0, 0.0), 90 * 111.12, 1e-6);
    // Along the equator the cosine of the scaled difference comes out of acos
    // unscaled: the same result.
    EXPECT_NEAR(nav.Distance(0.0, 10.0, 0.0, 40.0), 30 * 111.12, 1e-6);
}

// Points where the cosine of a zero arc rounds just above 1.
struct PointCase {
    double lat, lon;
};

class NavDistanceToItselfTest : public NavCalculatorTest, public testing::WithParamInterface<PointCase> {};

TEST_P(NavDistanceToItselfTest, IsZeroNotNaN) {
    const double d = nav.Distance(GetParam().lat, GetParam().lon, GetParam().lat, GetParam().lon);
    EXPECT_FALSE(std::isnan(d));
    EXPECT_EQ(d, 0.0);
}

INSTANTIATE_TEST_SUITE_P(Points, NavDistanceToItselfTest,
                         testing::Values(PointCase{2.4514, 161.9833}, PointCase{-18.7082, 27.1529},
                                         PointCase{31.053, 120.897}, PointCase{-73.9269, -118.2495},
                                         PointCase{-28.4292, -74.7449}, PointCase{80.8667, 138.6409},
                                         PointCase{0.0, 0.0}, PointCase{55.7561, 84.4479}));

TEST_F(NavCalculatorTest, DistanceOfANotANumberIsNotANumber) {
    EXPECT_TRUE(std::isnan(nav.Distance(kNaN, 0.0, 1.0, 1.0)));
}

// The latitude whose argument is a quarter turn: the sine of the convergence term comes out 1.0 exactly.
constexpr double kSineOne = 90.0 * 3.141592653589793 / 3.14;

struct CourseCase {
    const char* description;
    double lat1, lon1, lat2, lon2, lat3, lon3;
    double course;
    double tolerance;
};

class NavCourseTest : public NavCalculatorTest, public testing::WithParamInterface<CourseCase> {};

TEST_P(NavCourseTest, GivesTheCourseAtTheThirdPointsMeridian) {
    const CourseCase& c = GetParam();
    const double course = nav.Course(c.lat1, c.lon1, c.lat2, c.lon2, c.lat3, c.lon3);
    EXPECT_NEAR(course, c.course, c.tolerance) << c.description;
    EXPECT_GE(course, 0.0) << c.description;
    EXPECT_LE(course, 360.0) << c.description;
}

INSTANTIATE_TEST_SUITE_P(Cases, NavCourseTest,
                         testing::Values(CourseCase{"north-east", 0, 0, 1, 1, 0, 0, 45.0185, 1e-3},
                                         CourseCase{"south-west", 1, 1, 0, 0, 1, 1, 225.0272, 1e-3},
                                         CourseCase{"due east on the equator", 0, 10, 0, 20, 0, 10,
                                                    90.0 * 3.141592653589793 / 3.14, 1e-9},
                                         CourseCase{"north along a meridian", 10, 30, 20, 30, 10, 30, 0.0, 0.0},
                                         CourseCase{"south along a meridian", 20, 30, 10, 30, 20, 30, 180.0, 0.0},
                                         CourseCase{"one point", 45, -60, 45, -60, 45, -60, 0.0, 0.0},
                                         CourseCase{"north on the equator's meridian", 0, 0, 5, 0, 0, 0, 0.0, 0.0},
                                         // The third point's meridian turns a northward course by the convergence.
                                         CourseCase{"north, referred two degrees east at 30 N", 30, 30, 31, 30, 30, 32,
                                                    2.0 * std::sin(30.0 * 0.017444444444444446), 1e-12},
                                         // A speed sample across the 180th meridian in the south: one turn of
                                         // correction would leave about -68.
                                         CourseCase{"across the date line", -80, -179.995, -79.99, 179.995, -79.99,
                                                    179.995, -68.0268 + 360.0, 1e-3},
                                         CourseCase{"across the date line further north", -60, -179.999, -59.99,
                                                    179.999, -59.99, 179.999, -35.6015 + 360.0, 1e-3},
                                         // Where the convergence term is exactly one turn (its sine is 1.0),
                                         // a northward course sums to 360.0 and keeps it.
                                         CourseCase{"a full turn of convergence", kSineOne, 0, 91, 0, kSineOne, 360,
                                                    360.0, 0.0}));

TEST_F(NavCalculatorTest, AFullTurnComesBackToZero) {
    // North along a meridian referred 720 degrees of longitude away at 30 N:
    // the convergence alone is 720 * sin(30 k), well over one turn.
    const double course = nav.Course(30, 0, 31, 0, 30, 720);
    EXPECT_GE(course, 0.0);
    EXPECT_LT(course, 360.0);
    EXPECT_NEAR(course, std::fmod(720.0 * std::sin(30.0 * NavCalculator::kDegreesToArgument), 360.0), 1e-9);
}

TEST_F(NavCalculatorTest, CourseOfANotANumberStaysNotANumber) {
    EXPECT_TRUE(std::isnan(nav.Course(kNaN, 0, 1, 1, 0, 0)));
}

struct StationsCase {
    double lat, lon;
    int inRange;
};

class NavStationsTest : public NavCalculatorTest, public testing::WithParamInterface<StationsCase> {};

TEST_P(NavStationsTest, CountsStationsCloserThanTenThousandKilometres) {
    A723Receiver receiver;
    receiver.slotLat[0] = GetParam().lat;
    receiver.slotLon[0] = GetParam().lon;
    receiver.slotLat[1] = 89.0;  // only slot 0 counts
    EXPECT_EQ(nav.StationsInRange(receiver), GetParam().inRange);
}

INSTANTIATE_TEST_SUITE_P(Positions, NavStationsTest,
                         testing::Values(StationsCase{55.0, 37.0, 5}, StationsCase{-89.0, 0.0, 0},
                                         StationsCase{0.0, 0.0, 4}, StationsCase{10.0, -170.0, 1},
                                         StationsCase{55.7561, 84.4479, 5}, StationsCase{kNaN, 37.0, 0}));

TEST_F(NavCalculatorTest, TheFiveStationsInTheirOrder) {
    const NavCalculator::Station expected[] = {
        {55.7561, 84.4479}, {45.4133, 38.1581}, {50.0733, 136.6067}, {68.0356, 34.6833}, {67.0522, 63.072}};
    for (int i = 0; i < NavCalculator::kStationCount; ++i) {
        EXPECT_EQ(NavCalculator::kStations[i].latitude, expected[i].latitude) << i;
        EXPECT_EQ(NavCalculator::kStations[i].longitude, expected[i].longitude) << i;
    }
}

struct SplitCase {
    double value;
    int degrees, minutes, tenths;
};

class NavSplitDegreesTest : public NavCalculatorTest, public testing::WithParamInterface<SplitCase> {};

TEST_P(NavSplitDegreesTest, SplitsIntoDegreesRoundedMinutesAndTenthsFromThem) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(nav.SplitDegrees(c.value, 0), c.degrees);
    EXPECT_EQ(nav.SplitDegrees(c.value, 1), c.minutes);
    EXPECT_EQ(nav.SplitDegrees(c.value, 2), c.tenths);
}

INSTANTIATE_TEST_SUITE_P(Values, NavSplitDegreesTest,
                         testing::Values(SplitCase{37.5, 37, 30, 0}, SplitCase{10 + 12.34 / 60, 10, 12, 3},
                                         SplitCase{10 + 12.76 / 60, 10, 13, 0},  // a negative tenth is 0
                                         SplitCase{10 + 59.7 / 60, 10, 60, 0},   // no carry into the degrees
                                         SplitCase{89.9925, 89, 60, 0},          // 59.55 minutes round up
                                         SplitCase{0.0, 0, 0, 0}, SplitCase{179.9983, 179, 60, 0},
                                         SplitCase{kNaN, 0, 0, 0},  // nothing to show
                                         SplitCase{1e300, 2147483647, 2147483647, 2147483647}));

TEST_F(NavCalculatorTest, SplitOfAnUnknownPartIsZero) {
    EXPECT_EQ(nav.SplitDegrees(37.5, 3), 0);
    EXPECT_EQ(nav.SplitDegrees(37.5, -1), 0);
}

TEST_F(NavCalculatorTest, ANegativeSplitBecomesZero) { EXPECT_EQ(nav.SplitDegrees(-37.5, 0), 0); }

}  // namespace
