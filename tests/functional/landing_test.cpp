// A whole flight's end through the host, as a crew flies it: breakers
// clicked on the panel, the approach, touchdown, braking, the roll-out and
// shutdown; then what the brakes, the messages and the windows show.
#include <gtest/gtest.h>

#include "support/module_fixture.h"

namespace {

constexpr int kEngines[] = {625, 644, 663};
constexpr std::uint32_t kMessagesWindow = 11241;

class CompleteLanding : public ModuleFixture {
protected:
    void SetUp() override {
        ModuleFixture::SetUp();
        siblings.SetSlot(109, 1.0);  // bus power
        siblings.SetSlot(115, 1.0);  // fan power, both inputs
        siblings.SetSlot(114, 1.0);
        // No fuel: the aircraft is light, whatever payload the settings give.
        simulator.SetVariable(386, 0.0);
        simulator.SetVariable(341, 35.0);
        for (int engine : kEngines) simulator.SetVariable(engine, 90.0);
    }
    void Speed(double kmh) { simulator.SetVariable(832, kmh / 3.6); }
    void Brake(double kmh) {
        Speed(kmh);
        simulator.SetVariable(322, 1.0);
        Frames(2);
        simulator.SetVariable(322, 0.0);
        Frames(2);
    }
    void Fly() {
        ClickArea("AZS_water_level", 1);
        simulator.SetVariable(60, 0.0);
        Speed(280.0);
        Frames(18);
        simulator.SetVariable(60, 1.0);  // touchdown
        Frames(2);
        Brake(250.0);  // 2.5 + 35 air
        Brake(150.0);  // 1.5
        for (double roll = 0.0; roll <= 40.0; roll += 5.0) {
            simulator.SetAircraftVariable(54, 63, 0, roll);
            Frames(1);
        }
        Speed(0.0);
        for (int engine : kEngines) simulator.SetVariable(engine, 0.0);
        Frames(2);
    }
    double BrakeTemperature() { return Value("test", 2); }
};

TEST_F(CompleteLanding, HotBrakesWithoutFansLeaveTheFirstMessageAndOpenTheWindow) {
    Fly();
    EXPECT_DOUBLE_EQ(BrakeTemperature(), 2.5 + 35.0 + 1.5);
    EXPECT_EQ(Text("test", 2), "Ttorm 39.0");
    EXPECT_TRUE(simulator.IsWindowShown(kMessagesWindow));
    EXPECT_EQ(Value("Messages", 2), 0.0) << "code 0: melted thermal indicators";
    EXPECT_TRUE(ClickArea("Messages", 1));
    EXPECT_FALSE(simulator.IsWindowShown(kMessagesWindow));
    EXPECT_EQ(Value("water_lamp_1", 2), 0.0) << "the water-level breaker shows a full tank";
}

TEST_F(CompleteLanding, FansSwitchedOnBeforeTouchdownSpareTheCrew) {
    ClickArea("AZS_gear_vent", 1);
    Fly();
    EXPECT_EQ(BrakeTemperature(), 0.0);
    EXPECT_FALSE(simulator.IsWindowShown(kMessagesWindow));
    double breakerWord = 0.0;
    ASSERT_TRUE(siblings.ReadSlot(102, breakerWord));
    EXPECT_EQ(breakerWord, 2.0);
}

}  // namespace
