// The sound manager and its clips against the fake audio device.
#include "sound/sound_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "fake/fake_platform.h"
#include "sound/sound_clip.h"
#include "sound/wav_reader.h"
#include "support/temp_folder.h"
#include "support/wav_file.h"

namespace {

namespace code = result_code;
namespace audio = platform::audio;
using platform::fake::FakePlatform;

class SoundManagerTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(manager.Initialize(nullptr, 2), code::kOk); }

    std::string File(const std::string& name, const std::string& bytes) { return folder.Write(name, bytes).string(); }

    std::unique_ptr<SoundClip> Clip(const std::string& bytes, std::uint32_t flags = audio::kControlVolume) {
        SoundClip* clip = nullptr;
        EXPECT_EQ(manager.CreateClip(&clip, File("clip.wav", bytes).c_str(), flags, audio::Guid{}, 1), code::kOk);
        return std::unique_ptr<SoundClip>(clip);
    }

    FakePlatform fake;
    TempFolder folder;
    SoundManager manager;
};

TEST(SoundManager, ReportsADeviceThatCannotBeOpened) {
    FakePlatform fake;
    fake.createDeviceResult = code::kNoDriver;
    SoundManager manager;
    EXPECT_EQ(manager.Initialize(nullptr, 2), code::kNoDriver);
    EXPECT_EQ(manager.device, nullptr);
    EXPECT_EQ(manager.SetPrimaryBufferFormat(1, 22050, 16), code::kNotInitialised);
    SoundClip* clip = nullptr;
    EXPECT_EQ(manager.CreateClip(&clip, "x.wav", 0, audio::Guid{}, 1), code::kNotInitialised);
}

TEST_F(SoundManagerTest, PrimaryFormatIsPcmWithDerivedRates) {
    EXPECT_EQ(manager.SetPrimaryBufferFormat(1, 22050, 16), code::kOk);
    EXPECT_EQ(fake.primaryFormat.formatTag, 1);
    EXPECT_EQ(fake.primaryFormat.blockAlign, 2);
    EXPECT_EQ(fake.primaryFormat.averageBytesPerSecond, 2u * 22050u);
    EXPECT_EQ(fake.CallCount("ReleasePrimary"), 1);
}

TEST_F(SoundManagerTest, ReinitialisingReleasesTheOldDevice) {
    ASSERT_EQ(manager.Initialize(nullptr, 2), code::kOk);
    EXPECT_EQ(fake.devicesOpen, 1);
}

TEST_F(SoundManagerTest, ClipHoldsExactlyTheFilesSamples) {
    std::vector<std::uint8_t> samples(1000);
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<std::uint8_t>(i % 251);
    auto clip = Clip(wav_file::Make(1, 1, 11025, 8, samples));
    ASSERT_NE(clip, nullptr);
    ASSERT_EQ(fake.buffers.size(), 1u);
    EXPECT_EQ(fake.buffers[0]->bytes, samples);
    EXPECT_EQ(clip->bufferBytes, 1000u);
    EXPECT_FALSE(fake.buffers[0]->locked);
}

TEST_F(SoundManagerTest, BufferCountRules) {
    SoundClip* clip = nullptr;
    const std::string path = File("c.wav", wav_file::Pcm16Mono(10));
    EXPECT_EQ(manager.CreateClip(&clip, path.c_str(), 0, audio::Guid{}, 0), code::kInvalidArgument);
    EXPECT_EQ(clip, nullptr);
    ASSERT_EQ(manager.CreateClip(&clip, path.c_str(), 0, audio::Guid{}, 4), code::kOk);
    EXPECT_EQ(clip->bufferCount, 1u);
    EXPECT_EQ(fake.buffers.size(), 1u);
    delete clip;
    EXPECT_EQ(manager.CreateClip(nullptr, path.c_str(), 0, audio::Guid{}, 1), code::kInvalidArgument);
    EXPECT_EQ(manager.CreateClip(&clip, nullptr, 0, audio::Guid{}, 1), code::kInvalidArgument);
}

TEST_F(SoundManagerTest, RefusesWhatItCannotPlay) {
    SoundClip* clip = nullptr;
    const std::string adpcm = File("a.wav", wav_file::Make(2, 1, 22050, 4, std::vector<std::uint8_t>(100)));
    EXPECT_EQ(manager.CreateClip(&clip, adpcm.c_str(), 0, audio::Guid{}, 1), code::kFail);
    const std::string empty = File("e.wav", wav_file::Make(1, 1, 22050, 16, {}));
    EXPECT_EQ(manager.CreateClip(&clip, empty.c_str(), 0, audio::Guid{}, 1), code::kFail);
    EXPECT_EQ(manager.CreateClip(&clip, (folder.path() / "missing.wav").string().c_str(), 0, audio::Guid{}, 1),
              code::kFail);
    EXPECT_EQ(clip, nullptr);
    EXPECT_TRUE(fake.buffers.empty());
}

TEST_F(SoundManagerTest, BufferCreationResultsPassThrough) {
    SoundClip* clip = nullptr;
    const std::string path = File("c.wav", wav_file::Pcm16Mono(10));
    fake.createBufferResult = code::kOutOfMemory;
    EXPECT_EQ(manager.CreateClip(&clip, path.c_str(), 0, audio::Guid{}, 1), code::kOutOfMemory);
    EXPECT_EQ(clip, nullptr);
    fake.createBufferResult = code::kNoVirtualisation;
    EXPECT_EQ(manager.CreateClip(&clip, path.c_str(), 0, audio::Guid{}, 1), code::kNoVirtualisation);
    EXPECT_NE(clip, nullptr);
    delete clip;
}

TEST_F(SoundManagerTest, VolumeZeroKeepsTheVolumeAndEqualVolumesAreSetOnce) {
    auto clip = Clip(wav_file::Pcm16Mono(100));
    auto& buffer = *fake.buffers[0];
    EXPECT_EQ(clip->SetVolume(0), code::kFalse) << "a new buffer is already at full volume";
    clip->Play(0, 0, -600, -1, 0);
    EXPECT_EQ(buffer.volume, -600);
    clip->Play(0, 0, 0, -1, 0);
    EXPECT_EQ(buffer.volume, -600);
    clip->SetVolume(-600);
    EXPECT_EQ(buffer.volumeCalls, 1);
    const auto setVolume = std::find(fake.calls.begin(), fake.calls.end(), "SetVolume(-600)");
    const auto play = std::find(fake.calls.begin(), fake.calls.end(), "Play(0,0)");
    EXPECT_LT(setVolume, play) << "the volume is set before the sound starts";
}

TEST_F(SoundManagerTest, VolumeIsIgnoredWithoutVolumeControl) {
    auto clip = Clip(wav_file::Pcm16Mono(100), 0);
    clip->Play(0, audio::kPlayLooping, -600, 22050, 300);
    EXPECT_EQ(fake.buffers[0]->volumeCalls, 0);
    EXPECT_EQ(fake.CallCount("SetFrequency"), 0);
    EXPECT_EQ(fake.CallCount("SetPan"), 0);
    EXPECT_TRUE(fake.buffers[0]->looping);
}

TEST_F(SoundManagerTest, ALostBufferIsRestoredAndRefilledBeforePlaying) {
    auto clip = Clip(wav_file::Pcm16Mono(100));
    auto& buffer = *fake.buffers[0];
    buffer.bytes.assign(buffer.bytes.size(), 0);  // the device forgot the samples
    fake.statusReportsLost = 1;
    fake.restoreStaysLost = 2;
    EXPECT_EQ(clip->Play(0, 0, 0, -1, 0), code::kOk);
    EXPECT_NE(buffer.bytes, std::vector<std::uint8_t>(buffer.bytes.size(), 0));
    EXPECT_TRUE(buffer.playing);
    EXPECT_EQ(fake.sleptMilliseconds, 20u);
}

TEST_F(SoundManagerTest, ABufferThatStaysLostIsGivenUpOn) {
    auto clip = Clip(wav_file::Pcm16Mono(100));
    fake.statusReportsLost = 1;
    fake.restoreStaysLost = -1;
    EXPECT_EQ(clip->Play(0, 0, 0, -1, 0), code::kBufferLost);
    EXPECT_FALSE(fake.buffers[0]->playing);
    EXPECT_EQ(fake.CallCount("Restore"), SoundClip::kRestoreAttempts);
}

TEST_F(SoundManagerTest, AFailedReadStillUnlocksTheBuffer) {
    auto clip = Clip(wav_file::Pcm16Mono(100));
    clip->reader->Close();
    EXPECT_TRUE(code::Failed(clip->FillBuffer(clip->buffer)));
    EXPECT_FALSE(fake.buffers[0]->locked);
}

TEST_F(SoundManagerTest, StopAndRewindKeepThePositionRules) {
    auto clip = Clip(wav_file::Pcm16Mono(100));
    clip->Play(0, audio::kPlayLooping, 0, -1, 0);
    fake.buffers[0]->position = 40;
    EXPECT_EQ(clip->Stop(), code::kOk);
    EXPECT_EQ(fake.buffers[0]->position, 40u);
    EXPECT_EQ(clip->Rewind(), code::kOk);
    EXPECT_EQ(fake.buffers[0]->position, 0u);
}

}  // namespace
