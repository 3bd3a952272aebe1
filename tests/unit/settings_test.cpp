#include "state/settings.h"

#include <gtest/gtest.h>

#include <climits>

#include "support/temp_folder.h"

namespace {

constexpr const char* kGaugeSettings = "Gauges/Avrion_cfg/avrion_gau.cfg";
constexpr const char* kAircraft = "Aircraft/Qiro_Avrion/Aircraft.cfg";

double WaterPerFrameFor(double hours) { return 1000.0 / (hours * 3600.0 * 18.0); }

// Settings as the module reads them with the simulator installed in a folder.
Settings ReadFrom(const TempFolder& root) { return Settings((root.path() / "FS9.EXE").string()); }

TEST(Settings, DefaultsWhenNoFileExists) {
    TempFolder root;
    const Settings settings = ReadFrom(root);
    EXPECT_EQ(settings.keyLevel, 30);
    EXPECT_EQ(settings.soundOn, 1);
    EXPECT_EQ(settings.keySoundOn, 1);
    EXPECT_EQ(settings.sirenLevel, 70);
    EXPECT_EQ(settings.payloadKg, 450);
    EXPECT_DOUBLE_EQ(settings.waterPerFrame, WaterPerFrameFor(20.9));
}

TEST(Settings, ReadsTheSoundSection) {
    TempFolder root;
    root.Write(kGaugeSettings, "[sound]\nkey_lev=55\nsound=0\nkey_sound_on=0\nsirena_lev=100\n");
    const Settings settings = ReadFrom(root);
    EXPECT_EQ(settings.keyLevel, 55);
    EXPECT_EQ(settings.soundOn, 0);
    EXPECT_EQ(settings.keySoundOn, 0);
    EXPECT_EQ(settings.sirenLevel, 100);
}

TEST(Settings, GarbageValuesReadAsZero) {
    TempFolder root;
    root.Write(kGaugeSettings, "[sound]\nkey_lev=loud\nsound=on\n");
    root.Write(kAircraft, "[WEIGHT_AND_BALANCE]\nstation_load.0=heavy\n");
    const Settings settings = ReadFrom(root);
    EXPECT_EQ(settings.keyLevel, 0);
    EXPECT_EQ(settings.soundOn, 0);
    EXPECT_EQ(settings.payloadKg, 0);
    EXPECT_DOUBLE_EQ(settings.waterPerFrame, WaterPerFrameFor(20.9));
}

struct PayloadCase {
    int pounds;
    int payloadKg;
    double hours;
};

class PayloadTest : public testing::TestWithParam<PayloadCase> {};

TEST_P(PayloadTest, GivesPayloadAndWaterEndurance) {
    const PayloadCase& c = GetParam();
    TempFolder root;
    root.Write(kAircraft, "[WEIGHT_AND_BALANCE]\nstation_load.0 = " + std::to_string(c.pounds) + "\n");
    const Settings settings = ReadFrom(root);
    EXPECT_EQ(settings.payloadKg, c.payloadKg);
    EXPECT_DOUBLE_EQ(settings.waterPerFrame, WaterPerFrameFor(c.hours));
}

INSTANTIATE_TEST_SUITE_P(Payloads, PayloadTest,
                         testing::Values(PayloadCase{20000, 9000, 20.9 - 0.9 * 9},  // 12.8 h
                                         PayloadCase{50000, 22500, 2.0},            // 1.1 h raised to 2
                                         PayloadCase{2221, 999, 20.9},              // 999.45 truncates
                                         PayloadCase{0, 0, 20.9},
                                         PayloadCase{-2221, -999, 20.9},  // truncates toward zero
                                         PayloadCase{-20000, -9000, 20.9 + 0.9 * 9},
                                         PayloadCase{INT_MAX, 966367641, 2.0},
                                         PayloadCase{INT_MIN, -966367641, 20.9 + 0.9 * 966367}));

TEST(Settings, ValuesBeyondTheIntegerRangeWrapWithoutOverflow) {
    TempFolder root;
    root.Write(kAircraft, "[WEIGHT_AND_BALANCE]\nstation_load.0=99999999999999999999\n");
    const Settings settings = ReadFrom(root);  // must not trap under the sanitizers
    EXPECT_GT(settings.waterPerFrame, 0.0);
}

TEST(Settings, PathTooLongForTheBufferFallsBackToDefaults) {
    const Settings settings(std::string(300, 'x') + "/FS9.EXE");
    EXPECT_EQ(settings.keyLevel, 30);
    EXPECT_EQ(settings.payloadKg, 450);
}

}  // namespace
