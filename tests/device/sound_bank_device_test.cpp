// The sound bank on the machine's real audio back end (OpenAL Soft on Linux,
// DirectSound under Windows), with the shipped sounds. Only message boxes are
// caught, so that nothing waits for a person. The program is run twice: with
// a working (file or null) output device, and with none.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/services.h"
#include "sound/sound_bank.h"
#include "sound/sound_clip.h"
#include "state/settings.h"

namespace {

std::vector<std::string> messages;

int RecordMessage(const char* text, const char*, std::uint32_t) {
    messages.push_back(text);
    return 1;
}

class SoundBankOnDevice : public testing::Test {
protected:
    void SetUp() override {
        saved = platform::CurrentServices();
        platform::CurrentServices().showMessageBox = RecordMessage;
        messages.clear();
        previousFolder = std::filesystem::current_path();
        std::filesystem::current_path(AVRION_SIM_ROOT);
    }
    void TearDown() override {
        platform::CurrentServices() = saved;
        std::filesystem::current_path(previousFolder);
    }
    static bool DeviceExpected() { return std::getenv("AVRION_EXPECT_NO_SOUND_DEVICE") == nullptr; }

    platform::Services saved;
    std::filesystem::path previousFolder;
};

TEST_F(SoundBankOnDevice, LoadsTheShippedSoundsAndPlaysThem) {
    if (!DeviceExpected()) GTEST_SKIP() << "run without a sound device";
    const Settings settings((std::filesystem::path(AVRION_SIM_ROOT) / "FS9.EXE").string());
    SoundBank bank(settings);
    EXPECT_TRUE(bank.StartSound());
    EXPECT_TRUE(bank.LoadSounds());
    EXPECT_EQ(messages, std::vector<std::string>{});
    for (SoundClip* clip : bank.clips) ASSERT_NE(clip, nullptr);

    bank.PlaySwitchClick();
    bank.PlaySelectorClick();
    bank.StartSiren();
    bank.StartSirenPr();
    bank.StopSiren();
    bank.StopSirenPr();
    bank.ReleaseSounds();
    EXPECT_EQ(bank.manager, nullptr);
}

TEST_F(SoundBankOnDevice, WithoutADeviceTheUserIsToldAndNothingPlays) {
    if (DeviceExpected()) GTEST_SKIP() << "run with a sound device";
    const Settings settings((std::filesystem::path(AVRION_SIM_ROOT) / "FS9.EXE").string());
    SoundBank bank(settings);
    EXPECT_FALSE(bank.StartSound());
    EXPECT_FALSE(bank.LoadSounds());
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].rfind("g_pSoundManager->Initialize error, hr = ", 0), 0u) << messages[0];
    EXPECT_EQ(messages[1], "Create1");
    bank.PlaySwitchClick();
    bank.StartSiren();
    bank.ReleaseSounds();
}

}  // namespace
