#include "state/aircraft_state.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <set>

#include "a723/a723_receiver.h"
#include "airdata/air_data_computer.h"
#include "frame/exports.h"
#include "pps/fire_protection_system.h"
#include "sim/simulator.h"
#include "systems/aircraft_systems.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The module's own AircraftState, answered by the host's simulator.
class SnapshotTest : public testing::Test {
protected:
    void SetUp() override { ImportTable.panels.pointer = simulator.Panels(); }
    void TearDown() override { ImportTable.panels.pointer = nullptr; }

    AircraftState& Snapshot() {
        state->TakeSnapshot();
        return *state;
    }

    Simulator simulator;
    std::unique_ptr<AircraftState> state = std::make_unique<AircraftState>();
};

TEST_F(SnapshotTest, ConvertsEachVariableIntoItsUnits) {
    simulator.SetVariable(832, 10.0);
    simulator.SetVariable(71, 40007000.0 / 4);
    simulator.SetVariable(72, 140737488355328.0);  // 2^47
    simulator.SetVariable(604, 1234.5);
    simulator.SetAircraftVariable(54, 63, 0, 7.25);
    simulator.SetVariable(625, 51.0);
    simulator.SetVariable(644, 52.0);
    simulator.SetVariable(663, 53.0);
    simulator.SetVariable(341, -56.5);
    simulator.SetVariable(342, 16208.0);
    simulator.SetVariable(4, 0.1);
    simulator.SetVariable(759, 27.0);
    simulator.SetVariable(61, 300.0);
    simulator.SetVariable(64, 32768.0);
    simulator.SetVariable(73, 10600.0);
    simulator.SetIntegerVariable(38, 0x1200);
    simulator.SetVariable(386, 4000.0);
    simulator.SetVariable(333, 101.0);

    const AircraftState& s = Snapshot();
    EXPECT_DOUBLE_EQ(s.speedKmh, 36.0);
    EXPECT_DOUBLE_EQ(s.latitudeDeg, 90.0);
    EXPECT_DOUBLE_EQ(s.longitudeDeg, 180.0);
    EXPECT_EQ(s.simTime, 1234.5);
    EXPECT_EQ(s.aircraftVar54, 7.25);
    EXPECT_EQ(s.engineValues[0], 51.0);
    EXPECT_EQ(s.engineValues[1], 52.0);
    EXPECT_EQ(s.engineValues[2], 53.0);
    EXPECT_EQ(s.airTempC, -56.5);
    EXPECT_EQ(s.pressureSetting16, 16208.0);
    EXPECT_EQ(s.token4Value, 0.1f);
    EXPECT_EQ(s.supplyVoltage, 27.0f);
    EXPECT_EQ(s.speedToken61, 300.0);
    EXPECT_EQ(s.machRaw, 32768.0);
    EXPECT_EQ(s.altitudeM, 10600.0);
    EXPECT_EQ(s.transponderCodeBcd, 4608u);
    EXPECT_EQ(s.fuelGallons, 4000.0);
    EXPECT_EQ(s.token333Value, 101.0);
}

TEST_F(SnapshotTest, LooksUpEveryTokenAndTheAircraftVariableOnce) {
    Snapshot();
    std::multiset<int> tokens;
    for (const auto& lookup : simulator.frameLookups()) tokens.insert(lookup.first);
    EXPECT_EQ(tokens, (std::multiset<int>{4, 38, 60, 61, 64, 71, 72, 73, 322, 333, 341, 342, 386, 604, 625, 644, 663,
                                          759, 832}));
    ASSERT_EQ(simulator.frameAircraftQueries().size(), 1u);
    EXPECT_EQ(simulator.frameAircraftQueries()[0], std::make_tuple(54, 63, 0));
}

struct FlagCase {
    double value;
    bool set;
};

class FlagTest : public SnapshotTest, public testing::WithParamInterface<FlagCase> {};

TEST_P(FlagTest, OnlyValuesAboveZeroSetAFlag) {
    simulator.SetVariable(60, GetParam().value);
    simulator.SetVariable(322, GetParam().value);
    const AircraftState& s = Snapshot();
    EXPECT_EQ(s.token60Flag, GetParam().set);
    EXPECT_EQ(s.token322Flag, GetParam().set);
}

INSTANTIATE_TEST_SUITE_P(Values, FlagTest,
                         testing::Values(FlagCase{0.5, true}, FlagCase{0.0, false}, FlagCase{-1.0, false},
                                         FlagCase{kNaN, false}, FlagCase{kInf, true}, FlagCase{-0.0, false}));

TEST_F(SnapshotTest, SingleFloatFieldsRoundAndSaturateWithoutUndefinedBehaviour) {
    simulator.SetVariable(4, 1e300);
    simulator.SetVariable(759, -1e300);
    AircraftState& s = Snapshot();
    EXPECT_EQ(s.token4Value, std::numeric_limits<float>::infinity());
    EXPECT_EQ(s.supplyVoltage, -std::numeric_limits<float>::infinity());

    simulator.SetVariable(4, kNaN);
    simulator.SetVariable(759, 3.4028235e38);  // rounds to the largest float
    Snapshot();
    EXPECT_TRUE(std::isnan(s.token4Value));
    EXPECT_EQ(s.supplyVoltage, std::numeric_limits<float>::max());
}

TEST_F(SnapshotTest, NotANumberPassesIntoFloatFieldsUnfiltered) {
    simulator.SetVariable(832, kNaN);
    simulator.SetVariable(341, kNaN);
    const AircraftState& s = Snapshot();
    EXPECT_TRUE(std::isnan(s.speedKmh));
    EXPECT_TRUE(std::isnan(s.airTempC));
}

TEST(AircraftState, ConstructionLinksEverySystemToItsOwner) {
    AircraftState state;
    ASSERT_NE(state.fireProtection, nullptr);
    ASSERT_NE(state.airData, nullptr);
    ASSERT_NE(state.systems, nullptr);
    ASSERT_NE(state.receiver, nullptr);
    EXPECT_EQ(state.fireProtection->owner, &state);
    EXPECT_EQ(state.airData->owner, &state);
    EXPECT_EQ(state.systems->owner, &state);
    EXPECT_EQ(state.receiver->owner, &state);
}

}  // namespace
