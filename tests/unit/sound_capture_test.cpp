// The host's recording of the module's sound in simulator time: the module's
// OpenAL back end plays into the host's loopback context, and the file holds
// exactly the simulator time advanced, whatever the wall clock did.
#include "sim/sound_capture.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/audio.h"
#include "platform/result_codes.h"
#include "posix/openal_audio.h"
#include "sim/host_desktop.h"

namespace {

namespace audio = platform::audio;
namespace code = result_code;

constexpr int kRate = SoundCapture::kSampleRate;

std::vector<short> ReadSamples(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) return {};
    std::vector<short> samples(static_cast<std::size_t>(info.frames));
    sf_read_short(file, samples.data(), info.frames);
    sf_close(file);
    return samples;
}

int Peak(const std::vector<short>& samples, std::size_t from, std::size_t to) {
    int peak = 0;
    for (std::size_t i = from; i < std::min(to, samples.size()); ++i) peak = std::max(peak, std::abs(int{samples[i]}));
    return peak;
}

// A buffer of the module's kind holding a loud square wave.
audio::Buffer* SquareWave(audio::Device& device) {
    WaveFormat format{1, 1, kRate, kRate * 2, 2, 16, 0};
    const std::uint32_t bytes = kRate / 10 * 2;
    audio::Buffer* buffer = nullptr;
    if (device.CreateSoundBuffer({audio::kControlVolume, bytes, &format, {}}, &buffer) != code::kOk) return nullptr;
    void* region = nullptr;
    std::uint32_t locked = 0;
    buffer->Lock(0, bytes, &region, &locked, nullptr, nullptr, 0);
    auto* samples = static_cast<std::int16_t*>(region);
    for (std::uint32_t i = 0; i < locked / 2; ++i) samples[i] = (i / 50) % 2 ? 16000 : -16000;
    buffer->Unlock(region, locked, nullptr, 0);
    return buffer;
}

class SoundCaptureTest : public ::testing::Test {
protected:
    std::string path = (std::filesystem::temp_directory_path() /
                        ("avrion-capture-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".wav"))
                           .string();
    void TearDown() override { std::filesystem::remove(path); }
};

TEST_F(SoundCaptureTest, RecordsWhatThePlatformPlaysInSimulatorTime) {
    {
        std::string error;
        auto capture = SoundCapture::Open(path, error);
        ASSERT_NE(capture, nullptr) << error;
        audio::Device* device = nullptr;
        ASSERT_EQ(platform::openal::CreateDevice(&device), code::kOk);
        audio::Buffer* buffer = SquareWave(*device);
        ASSERT_NE(buffer, nullptr);

        // Eighteen frames a second: a fraction of a sample is carried over.
        for (int frame = 0; frame < 9; ++frame) capture->Advance(1.0 / 18);  // half a second of silence
        ASSERT_EQ(buffer->Play(0, audio::kPlayLooping), code::kOk);
        for (int frame = 0; frame < 9; ++frame) capture->Advance(1.0 / 18);
        buffer->Stop();
        for (int frame = 0; frame < 18; ++frame) capture->Advance(1.0 / 18);
        capture->Advance(0.0);
        capture->Advance(-1.0);
        EXPECT_DOUBLE_EQ(capture->recordedSeconds(), 2.0);
        buffer->Release();
        device->Release();
    }
    const std::vector<short> samples = ReadSamples(path);
    ASSERT_EQ(samples.size(), 2u * kRate);
    EXPECT_LE(Peak(samples, 0, kRate / 2), 1);  // OpenAL Soft dithers by a step
    EXPECT_GT(Peak(samples, kRate / 2 + 100, kRate - 100), 8000);
    EXPECT_LE(Peak(samples, kRate + kRate / 10, 2 * kRate), 1);
}

TEST_F(SoundCaptureTest, RefusesAFileItCannotWrite) {
    std::string error;
    EXPECT_EQ(SoundCapture::Open("/nonexistent-folder/sound.wav", error), nullptr);
    EXPECT_NE(error.find("/nonexistent-folder/sound.wav"), std::string::npos) << error;
    // The module is left to open the default output.
    EXPECT_EQ(HostDesktop::Instance().audioContext, nullptr);
}

}  // namespace
