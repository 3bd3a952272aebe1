// The panel's sound bank: loading the six sounds, the settings that silence
// them, and what the user is told when sound cannot start.
#include "sound/sound_bank.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>

#include "fake/fake_platform.h"
#include "sound/sound_clip.h"
#include "state/settings.h"
#include "support/temp_folder.h"
#include "support/wav_file.h"

namespace {

namespace audio = platform::audio;
using platform::fake::FakePlatform;

const char* const kSoundFiles[] = {"Tumb_fix.wav", "Kolp.wav",   "Tumb_no_fix.wav",
                                   "Galetn.wav",   "SIRENA.wav", "sirena_pr.wav"};

// A simulator root with the six sounds and a settings file, entered as the
// simulator's current folder.
class SoundBankTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : kSoundFiles)
            root.Write(std::filesystem::path("Gauges/Avrion_cfg/Sound") / name, wav_file::Pcm16Mono(64));
        saved = std::filesystem::current_path();
        std::filesystem::current_path(root.path());
        fake.mainWindow = &window;
    }
    void TearDown() override { std::filesystem::current_path(saved); }

    void WriteSettings(const std::string& soundSection) {
        root.Write("Gauges/Avrion_cfg/avrion_gau.cfg", "[sound]\n" + soundSection);
    }
    Settings ReadSettings() { return Settings((root.path() / "FS9.EXE").string()); }

    platform::fake::FakeBufferState& Buffer(SoundBank::Slot slot) { return *fake.buffers.at(slot - 1); }

    TempFolder root;
    std::filesystem::path saved;
    FakePlatform fake;
    char window = 0;
};

TEST_F(SoundBankTest, StartsForTheSimulatorWindowAndLoadsAllSixAtTheirLevels) {
    const Settings settings = ReadSettings();
    SoundBank bank(settings);
    EXPECT_TRUE(bank.StartSound());
    EXPECT_EQ(fake.calls.at(0), "FindWindow(FS98MAIN)");
    char cooperativeLevel[64];
    std::snprintf(cooperativeLevel, sizeof cooperativeLevel, "SetCooperativeLevel(%p,2)", static_cast<void*>(&window));
    EXPECT_EQ(fake.CallCount(cooperativeLevel), 1) << "the simulator's window, priority level";
    EXPECT_EQ(fake.primaryFormat.samplesPerSecond, 22050u);
    EXPECT_EQ(fake.primaryFormat.channels, 1);
    EXPECT_EQ(fake.primaryFormat.bitsPerSample, 16);

    EXPECT_TRUE(bank.LoadSounds());
    ASSERT_EQ(fake.buffers.size(), 6u);
    for (int slot = SoundBank::kSwitchClick; slot <= SoundBank::kSelectorClick; ++slot)
        EXPECT_EQ(Buffer(static_cast<SoundBank::Slot>(slot)).volume, -1400) << slot;
    EXPECT_EQ(Buffer(SoundBank::kSiren).volume, -600);
    EXPECT_EQ(Buffer(SoundBank::kSecondSiren).volume, -600);
    EXPECT_EQ(Buffer(SoundBank::kSiren).flags, audio::kControlVolume);
    EXPECT_TRUE(fake.messageBoxes.empty());
    bank.ReleaseSounds();
}

TEST_F(SoundBankTest, NoDeviceTellsTheUserOnceAndTheModuleRunsOnSilently) {
    fake.createDeviceResult = static_cast<audio::Result>(0x88780078u);
    const Settings settings = ReadSettings();
    SoundBank bank(settings);
    EXPECT_FALSE(bank.StartSound());
    EXPECT_FALSE(bank.LoadSounds());
    ASSERT_EQ(fake.messageBoxes.size(), 2u);
    EXPECT_EQ(fake.messageBoxes[0].text, "g_pSoundManager->Initialize error, hr = -2005401480");
    EXPECT_EQ(fake.messageBoxes[0].caption, "DirectSound Sample");
    EXPECT_EQ(fake.messageBoxes[0].style, 0x10u);
    EXPECT_EQ(fake.messageBoxes[1].text, "Create1");
    EXPECT_EQ(fake.messageBoxes[1].caption, "DSound load file error");
    EXPECT_EQ(fake.messageBoxes[1].style, 0x30u);
    bank.PlaySwitchClick();
    bank.StartSiren();
    bank.StopSirenPr();
    bank.ReleaseSounds();
}

TEST_F(SoundBankTest, APrimaryFormatFailureHasItsOwnMessage) {
    fake.setFormatResult = result_code::kFail;
    const Settings settings = ReadSettings();
    SoundBank bank(settings);
    EXPECT_FALSE(bank.StartSound());
    ASSERT_EQ(fake.messageBoxes.size(), 1u);
    EXPECT_EQ(fake.messageBoxes[0].text,
              "Error initializing DirectSound.  g_pSoundManager->SetPrimaryBufferFormat error.");
    EXPECT_EQ(fake.messageBoxes[0].style, 0x10u);
    bank.ReleaseSounds();
}

TEST_F(SoundBankTest, AMissingSoundStopsTheLoadThereAndTheOthersStaySilent) {
    std::filesystem::remove(root.path() / "Gauges/Avrion_cfg/Sound/Kolp.wav");
    const Settings settings = ReadSettings();
    SoundBank bank(settings);
    bank.StartSound();
    EXPECT_FALSE(bank.LoadSounds());
    ASSERT_EQ(fake.messageBoxes.size(), 1u);
    EXPECT_EQ(fake.messageBoxes[0].text, "Create2");
    ASSERT_EQ(fake.buffers.size(), 1u);
    for (int slot = SoundBank::kCoverClick; slot <= SoundBank::kSecondSiren; ++slot)
        EXPECT_EQ(bank.clips[slot - 1], nullptr) << slot;

    bank.PlaySwitchClick();
    EXPECT_TRUE(fake.buffers[0]->playing);
    bank.PlayCoverClick();
    bank.PlayButtonClick();
    bank.PlaySelectorClick();
    bank.StartSiren();
    bank.StartSirenPr();
    EXPECT_EQ(fake.CallCount("Play"), 1);
    bank.ReleaseSounds();
}

struct SwitchCase {
    const char* settings;
    bool clicksPlay;
    bool sirensPlay;
};

class SoundSwitchTest : public SoundBankTest, public testing::WithParamInterface<SwitchCase> {};

TEST_P(SoundSwitchTest, SettingsSilenceClicksAndSirensButClicksStillRewind) {
    WriteSettings(GetParam().settings);
    const Settings settings = ReadSettings();
    SoundBank bank(settings);
    bank.StartSound();
    ASSERT_TRUE(bank.LoadSounds());
    for (int slot = SoundBank::kSwitchClick; slot <= SoundBank::kSecondSiren; ++slot)
        Buffer(static_cast<SoundBank::Slot>(slot)).position = 32;

    bank.PlaySwitchClick();
    bank.PlayCoverClick();
    bank.PlayButtonClick();
    bank.PlaySelectorClick();
    bank.StartSiren();
    bank.StartSirenPr();
    for (int slot = SoundBank::kSwitchClick; slot <= SoundBank::kSelectorClick; ++slot) {
        auto& buffer = Buffer(static_cast<SoundBank::Slot>(slot));
        EXPECT_EQ(buffer.position, 0u) << slot;
        EXPECT_EQ(buffer.playing, GetParam().clicksPlay) << slot;
        EXPECT_FALSE(buffer.looping) << slot;
    }
    for (SoundBank::Slot slot : {SoundBank::kSiren, SoundBank::kSecondSiren}) {
        EXPECT_EQ(Buffer(slot).playing, GetParam().sirensPlay) << slot;
        EXPECT_EQ(Buffer(slot).looping, GetParam().sirensPlay) << slot;
    }
    bank.ReleaseSounds();
}

INSTANTIATE_TEST_SUITE_P(Settings, SoundSwitchTest,
                         testing::Values(SwitchCase{"", true, true}, SwitchCase{"sound=0\n", false, false},
                                         SwitchCase{"key_sound_on=0\n", false, true},
                                         SwitchCase{"sound=0\nkey_sound_on=0\n", false, false}));

TEST_F(SoundBankTest, SirenStartsOnceAndStopsRewound) {
    const Settings settings = ReadSettings();
    SoundBank bank(settings);
    bank.StartSound();
    ASSERT_TRUE(bank.LoadSounds());
    bank.StartSiren();
    bank.StartSiren();
    EXPECT_TRUE(Buffer(SoundBank::kSiren).playing);
    EXPECT_TRUE(Buffer(SoundBank::kSiren).looping);
    Buffer(SoundBank::kSiren).position = 50;
    bank.StopSiren();
    EXPECT_FALSE(Buffer(SoundBank::kSiren).playing);
    EXPECT_EQ(Buffer(SoundBank::kSiren).position, 0u);
    EXPECT_FALSE(Buffer(SoundBank::kSecondSiren).playing);
    bank.ReleaseSounds();
}

struct LevelCase {
    int level;
    std::int32_t volume;
};

class VolumeTest : public testing::TestWithParam<LevelCase> {};

TEST_P(VolumeTest, LevelsBecomeVolumesWithinTheDevicesRange) {
    EXPECT_EQ(SoundBank::VolumeFromLevel(GetParam().level), GetParam().volume);
}

INSTANTIATE_TEST_SUITE_P(Levels, VolumeTest,
                         testing::Values(LevelCase{100, 0}, LevelCase{0, -2000}, LevelCase{30, -1400},
                                         LevelCase{70, -600}, LevelCase{50, -1000}, LevelCase{150, 0},
                                         LevelCase{-400, -10000}, LevelCase{-1000, -10000},
                                         LevelCase{INT_MAX, 0}, LevelCase{INT_MIN, -10000}));

TEST_F(SoundBankTest, FullLevelLeavesTheClicksAtTheirFullVolume) {
    WriteSettings("key_lev=100\nsirena_lev=50\n");
    const Settings settings = ReadSettings();
    SoundBank bank(settings);
    bank.StartSound();
    ASSERT_TRUE(bank.LoadSounds());
    EXPECT_EQ(Buffer(SoundBank::kSwitchClick).volumeCalls, 0);
    EXPECT_EQ(Buffer(SoundBank::kSwitchClick).volume, 0);
    EXPECT_EQ(Buffer(SoundBank::kSiren).volume, -1000);
    bank.ReleaseSounds();
}

TEST_F(SoundBankTest, LoadingAgainReplacesTheClipsAndReleasesTheOldOnes) {
    const Settings settings = ReadSettings();
    SoundBank bank(settings);
    bank.StartSound();
    ASSERT_TRUE(bank.LoadSounds());
    ASSERT_TRUE(bank.LoadSounds());
    ASSERT_EQ(fake.buffers.size(), 12u);
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(fake.buffers[i]->released) << i;
    for (int i = 6; i < 12; ++i) EXPECT_FALSE(fake.buffers[i]->released) << i;
    bank.ReleaseSounds();
}

TEST_F(SoundBankTest, ReleaseFreesTheClipsBeforeTheDevice) {
    const Settings settings = ReadSettings();
    SoundBank bank(settings);
    bank.StartSound();
    ASSERT_TRUE(bank.LoadSounds());
    fake.calls.clear();
    bank.ReleaseSounds();
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"ReleaseBuffer", "ReleaseBuffer", "ReleaseBuffer", "ReleaseBuffer",
                                                    "ReleaseBuffer", "ReleaseBuffer", "ReleaseDevice"}));
    EXPECT_EQ(bank.manager, nullptr);
    bank.ReleaseSounds();  // twice is harmless
}

}  // namespace
