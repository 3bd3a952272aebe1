// How the host reads the simulator variables and slots a person gives it.
#include "sim/variable_settings.h"

#include <gtest/gtest.h>

#include <cmath>

#include "sim/simulator.h"
#include "support/temp_folder.h"

namespace {

struct SettingCase {
    const char* text;
    bool accepted;
    int token;
    double value;
};

class VariableSettingTest : public testing::TestWithParam<SettingCase> {};

TEST_P(VariableSettingTest, ParsesNamesTokensAndNumbers) {
    const SettingCase& c = GetParam();
    VariableSetting setting;
    const std::string error = ParseVariableSetting(c.text, setting);
    EXPECT_EQ(error.empty(), c.accepted) << c.text << ": " << error;
    if (!c.accepted || !error.empty()) return;
    EXPECT_EQ(setting.token, c.token);
    if (std::isnan(c.value))
        EXPECT_TRUE(std::isnan(setting.value));
    else
        EXPECT_EQ(setting.value, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, VariableSettingTest,
    testing::Values(SettingCase{"ground_speed=70", true, 832, 70.0}, SettingCase{" fuel = 2.5e3 ", true, 386, 2500.0},
                    SettingCase{"832=-1", true, 832, -1.0}, SettingCase{"9999=1", true, 9999, 1.0},
                    SettingCase{"air_temperature=nan", true, 341, NAN},
                    SettingCase{"air_temperature=inf", true, 341, INFINITY}, SettingCase{"speed=1", false, 0, 0},
                    SettingCase{"fuel=", false, 0, 0}, SettingCase{"fuel", false, 0, 0},
                    SettingCase{"fuel=12kg", false, 0, 0}, SettingCase{"=5", false, 0, 0}));

TEST(VariableSettings, TransponderCodeIsFourDigitsZeroToSeven) {
    VariableSetting setting;
    ASSERT_EQ(ParseVariableSetting("transponder_code=1200", setting), "");
    Simulator simulator;
    Apply(setting, simulator);
    EXPECT_EQ(simulator.IntegerVariable(38), 0x1200u);
    for (const char* bad : {"transponder_code=1280", "transponder_code=120", "transponder_code=12000",
                            "transponder_code=12a0"})
        EXPECT_NE(ParseVariableSetting(bad, setting), "") << bad;
}

TEST(VariableSettings, SlotsMustBeInsideTheTable) {
    SlotSetting slot;
    EXPECT_EQ(ParseSlotSetting("109=1", slot), "");
    EXPECT_EQ(slot.slot, 109);
    EXPECT_EQ(slot.value, 1.0);
    for (const char* bad : {"116=1", "-1=1", "x=1", "5=abc", "5"}) EXPECT_NE(ParseSlotSetting(bad, slot), "") << bad;
}

TEST(VariableSettings, FileErrorsNameTheLine) {
    TempFolder folder;
    const auto file = folder.Write("flight.vars", "# parked\n\nfuel = 10\n; note\nground_speed = fast\n");
    std::vector<VariableSetting> settings;
    const std::string error = ReadVariableFile(file.string(), settings);
    EXPECT_NE(error.find("flight.vars:5:"), std::string::npos) << error;
    EXPECT_EQ(settings.size(), 1u);
    EXPECT_NE(ReadVariableFile((folder.path() / "missing.vars").string(), settings), "");
}

}  // namespace
