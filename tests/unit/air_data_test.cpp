// The air-data computer: what it makes of the snapshot for the KAI_487
// needles, drums, Mach marker and off flag, including snapshot values that
// are not numbers or are infinite.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "airdata/air_data_computer.h"
#include "state/aircraft_state.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr std::int32_t kMaxInt = std::numeric_limits<std::int32_t>::max();

// Raw values of the simulator's Mach variable (value / 65536 * 3.2).
constexpr double kMach03 = 6144.0;
constexpr double kMach05 = 10240.0;
constexpr double kMach08 = 16384.0;
constexpr double kMach105 = 21504.0;

class AirDataTest : public testing::Test {
protected:
    // Breaker on, a good supply, still air at sea level and 15 degrees: the snapshot is set by hand, the
    // computer reads nothing else.
    void SetUp() override {
        computer.enabled = true;
        state->supplyVoltage = 27.0f;
        state->speedToken61 = 0.0;
        state->machRaw = 0.0;
        state->altitudeM = 0.0;
        state->airTempC = 15.0;
    }

    std::unique_ptr<AircraftState> state = std::make_unique<AircraftState>();
    AirDataComputer& computer = *state->airData;
};

TEST_F(AirDataTest, StartsOffWithTheDrumsAtZero) {
    AirDataComputer fresh;
    EXPECT_EQ(fresh.owner, nullptr);
    EXPECT_EQ(fresh.speedShown, 0);
    EXPECT_EQ(fresh.limitSpeed, 0);
    EXPECT_EQ(fresh.lowDigit, 0);
    EXPECT_EQ(fresh.highDigit, 0);
    EXPECT_TRUE(fresh.offFlag);
    EXPECT_FALSE(fresh.machMode);
    EXPECT_EQ(fresh.mach, 0.0);
    EXPECT_EQ(fresh.densityFactor, 0.0);
    EXPECT_EQ(fresh.trueSpeedKmh, 0.0);
    EXPECT_EQ(fresh.equivalentSpeed, 0);
    EXPECT_FALSE(fresh.enabled);
    EXPECT_EQ(computer.owner, state.get());
}

struct OffCase {
    const char* description;
    bool enabled;
    float supply;
};

class OffPathTest : public AirDataTest, public testing::WithParamInterface<OffCase> {};

TEST_P(OffPathTest, ShowsTheFlagAndBlankDrumsAndKeepsItsComputedValues) {
    state->speedToken61 = 367.8;
    state->machRaw = kMach08;
    computer.Update();
    ASSERT_FALSE(computer.offFlag);
    ASSERT_TRUE(computer.machMode);
    const double mach = computer.mach, density = computer.densityFactor, trueSpeed = computer.trueSpeedKmh;
    const std::int32_t equivalent = computer.equivalentSpeed;

    computer.enabled = GetParam().enabled;
    state->supplyVoltage = GetParam().supply;
    state->machRaw = kMach03;
    state->altitudeM = 9000.0;
    computer.Update();
    EXPECT_TRUE(computer.offFlag);
    EXPECT_FALSE(computer.machMode);
    EXPECT_EQ(computer.speedShown, 0);
    EXPECT_EQ(computer.limitSpeed, 0);
    EXPECT_EQ(computer.highDigit, -1);
    EXPECT_EQ(computer.lowDigit, -1);
    EXPECT_EQ(computer.mach, mach);
    EXPECT_EQ(computer.densityFactor, density);
    EXPECT_EQ(computer.trueSpeedKmh, trueSpeed);
    EXPECT_EQ(computer.equivalentSpeed, equivalent);
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, OffPathTest,
    testing::Values(OffCase{"breaker off", false, 27.0f}, OffCase{"supply exactly 20", true, 20.0f},
                    OffCase{"supply just under 20", true, 19.99f},
                    OffCase{"supply not a number", true, std::numeric_limits<float>::quiet_NaN()},
                    OffCase{"supply minus infinity", true, -std::numeric_limits<float>::infinity()},
                    OffCase{"breaker off, supply good", false, 1000.0f}));

TEST_F(AirDataTest, RunsOnASupplyJustAbove20AndOnAnInfiniteOne) {
    for (float supply : {20.001f, std::numeric_limits<float>::infinity()}) {
        state->supplyVoltage = supply;
        computer.Update();
        EXPECT_FALSE(computer.offFlag) << supply;
    }
}

struct SpeedCase {
    double speed;
    std::int32_t shown, highDigit, lowDigit;
};

class SpeedModeTest : public AirDataTest, public testing::WithParamInterface<SpeedCase> {};

TEST_P(SpeedModeTest, ShowsTheSpeedAbove50TruncatedAndItsHundredsAndTens) {
    state->speedToken61 = GetParam().speed;
    state->machRaw = kMach03;
    computer.Update();
    EXPECT_FALSE(computer.machMode);
    EXPECT_EQ(computer.speedShown, GetParam().shown);
    EXPECT_EQ(computer.highDigit, GetParam().highDigit);
    EXPECT_EQ(computer.lowDigit, GetParam().lowDigit);
}

INSTANTIATE_TEST_SUITE_P(Speeds, SpeedModeTest,
                         testing::Values(SpeedCase{50.0, 0, 0, 0}, SpeedCase{50.9, 50, 0, 5},
                                         SpeedCase{367.8, 367, 3, 6}, SpeedCase{99.99, 99, 0, 9},
                                         SpeedCase{1234.0, 1234, 12, 3}, SpeedCase{-400.0, 0, 0, 0},
                                         SpeedCase{kNaN, 0, 0, 0}, SpeedCase{-kInfinity, 0, 0, 0},
                                         SpeedCase{kInfinity, kMaxInt, kMaxInt / 100, 4},
                                         SpeedCase{1e300, kMaxInt, kMaxInt / 100, 4}));

struct MachCase {
    double machRaw;
    bool machMode;
    std::int32_t highDigit, lowDigit;
};

class MachModeTest : public AirDataTest, public testing::WithParamInterface<MachCase> {};

TEST_P(MachModeTest, FromMachHalfTheDrumsShowTenthsAndHundredths) {
    state->speedToken61 = 367.8;
    state->machRaw = GetParam().machRaw;
    computer.Update();
    EXPECT_EQ(computer.machMode, GetParam().machMode);
    EXPECT_EQ(computer.highDigit, GetParam().highDigit);
    EXPECT_EQ(computer.lowDigit, GetParam().lowDigit);
}

INSTANTIATE_TEST_SUITE_P(Machs, MachModeTest,
                         testing::Values(MachCase{kMach03, false, 3, 6}, MachCase{kMach05, true, 5, 0},
                                         MachCase{kMach05 - 1.0, false, 3, 6}, MachCase{kMach08, true, 8, 0},
                                         MachCase{kMach105, true, 10, 5}, MachCase{-kMach08, false, 3, 6},
                                         MachCase{kNaN, true, 0, 0}, MachCase{-kInfinity, false, 3, 6},
                                         MachCase{kInfinity, true, kMaxInt / 10, 7}));

TEST_F(AirDataTest, MachComesFromTheRawValue) {
    state->machRaw = kMach08;
    computer.Update();
    EXPECT_DOUBLE_EQ(computer.mach, 0.8);
}

TEST_F(AirDataTest, AtSeaLevelAndFifteenDegreesMachHalfIs611) {
    state->machRaw = kMach05;
    computer.Update();
    EXPECT_DOUBLE_EQ(computer.mach, 0.5);
    EXPECT_DOUBLE_EQ(computer.densityFactor, 1.0);
    EXPECT_NEAR(computer.trueSpeedKmh, 611.1, 0.05);
    EXPECT_EQ(computer.equivalentSpeed, 611);
}

struct LimitCase {
    const char* description;
    double altitude, temperature, machRaw;
    std::int32_t equivalentSpeed, limitSpeed;
};

class LimitSpeedTest : public AirDataTest, public testing::WithParamInterface<LimitCase> {};

TEST_P(LimitSpeedTest, FixedLowDownCappedEquivalentSpeedHighUp) {
    const LimitCase& c = GetParam();
    state->altitudeM = c.altitude;
    state->airTempC = c.temperature;
    state->machRaw = c.machRaw;
    computer.Update();
    EXPECT_EQ(computer.equivalentSpeed, c.equivalentSpeed) << c.description;
    EXPECT_EQ(computer.limitSpeed, c.limitSpeed) << c.description;
}

INSTANTIATE_TEST_SUITE_P(
    Altitudes, LimitSpeedTest,
    testing::Values(LimitCase{"just below 7000 m", 6999.9, 15.0, kMach08, 678, 324},
                    LimitCase{"at 7000 m, fast", 7000.0, 15.0, kMach08, 678, 310},
                    LimitCase{"at 7000 m, slow", 7000.0, 15.0, kMach03, 254, 254},
                    LimitCase{"10000 m, cold", 10000.0, -50.0, kMach08, 499, 310},
                    LimitCase{"altitude not a number", kNaN, 15.0, kMach08, 0, 0},
                    LimitCase{"above the model atmosphere", 50000.0, 15.0, kMach08, 0, 0},
                    LimitCase{"top of the model atmosphere", 44300.0, 15.0, kMach08, 0, 0},
                    LimitCase{"altitude infinite", kInfinity, 15.0, kMach08, kMaxInt, 310},
                    LimitCase{"altitude minus infinity", -kInfinity, 15.0, kMach08, kMaxInt, 324},
                    LimitCase{"below absolute zero", 8000.0, -300.0, kMach08, 0, 0},
                    LimitCase{"temperature not a number", 8000.0, kNaN, kMach08, 0, 0},
                    // The square roots are powers of a half, which take minus infinity to plus infinity.
                    LimitCase{"temperature minus infinity", 8000.0, -kInfinity, kMach08, kMaxInt, 310},
                    LimitCase{"Mach not a number", 8000.0, 15.0, kNaN, 0, 0},
                    LimitCase{"Mach infinite", 8000.0, 15.0, kInfinity, kMaxInt, 310},
                    LimitCase{"Mach negative", 8000.0, 15.0, -kMach08, -639, -639}));

TEST_F(AirDataTest, SwitchingOffFromMachModeBlanksTheDrumsAndKeepsTheMachNumber) {
    state->machRaw = kMach08;
    computer.Update();
    ASSERT_TRUE(computer.machMode);
    computer.enabled = false;
    computer.Update();
    EXPECT_FALSE(computer.machMode);
    EXPECT_EQ(computer.highDigit, -1);
    EXPECT_EQ(computer.lowDigit, -1);
    EXPECT_DOUBLE_EQ(computer.mach, 0.8);
    computer.enabled = true;
    state->machRaw = kMach03;
    state->speedToken61 = 250.0;
    computer.Update();
    EXPECT_FALSE(computer.offFlag);
    EXPECT_EQ(computer.highDigit, 2);
    EXPECT_EQ(computer.lowDigit, 5);
}

}  // namespace
