#include "state/sim_stopwatch.h"

#include <gtest/gtest.h>

#include "frame/exports.h"
#include "sim/simulator.h"

namespace {

class SimStopwatchTest : public testing::Test {
protected:
    void SetUp() override { ImportTable.panels.pointer = simulator.Panels(); }
    void TearDown() override { ImportTable.panels.pointer = nullptr; }
    void ClockAt(double seconds) { simulator.SetVariable(604, seconds); }

    Simulator simulator;
    SimStopwatch stopwatch;
};

TEST_F(SimStopwatchTest, ReadsZeroUntilStarted) {
    ClockAt(500.0);
    EXPECT_EQ(stopwatch.Elapsed(), 0.0);
    EXPECT_TRUE(simulator.frameLookups().empty()) << "a stopped stopwatch has no need of the clock";
}

TEST_F(SimStopwatchTest, MeasuresSimulatorTimeSinceStart) {
    ClockAt(100.0);
    stopwatch.Start();
    ClockAt(130.5);
    EXPECT_EQ(stopwatch.Elapsed(), 30.5);
}

TEST_F(SimStopwatchTest, StopReadsZeroAndKeepsTheStartTime) {
    ClockAt(100.0);
    stopwatch.Start();
    stopwatch.Stop();
    ClockAt(200.0);
    EXPECT_EQ(stopwatch.Elapsed(), 0.0);
    EXPECT_EQ(stopwatch.startTime, 100.0);
}

TEST_F(SimStopwatchTest, ReadsTheSameClockRecordAsTheSnapshot) {
    ClockAt(10.0);
    stopwatch.Start();
    ASSERT_EQ(simulator.frameLookups().size(), 1u);
    EXPECT_EQ(simulator.frameLookups()[0].first, 604);
}

}  // namespace
