// The Linux audio back end on OpenAL Soft's wave-writer device: what the
// module plays must come out at the level its volume asks for.
#include "posix/openal_audio.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

namespace audio = platform::audio;
namespace code = result_code;

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

struct GainCase {
    std::int32_t volume;
    double gain;
};

class GainTest : public testing::TestWithParam<GainCase> {};

TEST_P(GainTest, HundredthsOfADecibelBecomeAGain) {
    EXPECT_NEAR(platform::openal::GainFromVolume(GetParam().volume), GetParam().gain, 1e-4);
}

INSTANTIATE_TEST_SUITE_P(Volumes, GainTest,
                         testing::Values(GainCase{0, 1.0}, GainCase{-600, 0.501187}, GainCase{-2000, 0.1},
                                         GainCase{-10000, 1e-5}));

std::vector<std::uint8_t> Tone(double hz, double amplitude, int samples) {
    std::vector<std::uint8_t> bytes(samples * 2);
    for (int i = 0; i < samples; ++i) {
        const auto value = static_cast<std::int16_t>(std::lround(amplitude * 32767 * std::sin(2 * kPi * hz * i / kRate)));
        bytes[2 * i] = static_cast<std::uint8_t>(value & 0xFF);
        bytes[2 * i + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    }
    return bytes;
}

// Peak of the recorded file, as a fraction of full scale.
double RecordedPeak(const char* path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path, SFM_READ, &info);
    if (file == nullptr) return -1.0;
    std::vector<float> samples(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_float(file, samples.data(), info.frames);
    sf_close(file);
    double peak = 0.0;
    for (float s : samples) peak = std::max(peak, static_cast<double>(std::fabs(s)));
    return peak;
}

TEST(OpenAlAudio, PlaysALoopAtItsVolumeIntoTheWaveWriter) {
    const char* output = std::getenv("AVRION_OPENAL_TEST_OUTPUT");
    ASSERT_NE(output, nullptr) << "the test runs with OpenAL Soft writing to a file";
    {
        audio::Device* device = nullptr;
        ASSERT_EQ(platform::openal::CreateDevice(&device), code::kOk);
        ASSERT_EQ(device->SetCooperativeLevel(nullptr, 2), code::kOk);

        WaveFormat format{1, 1, kRate, kRate * 2, 2, 16, 0};
        const std::vector<std::uint8_t> tone = Tone(441.0, 0.8, kRate / 10);
        audio::Buffer* buffer = nullptr;
        ASSERT_EQ(device->CreateSoundBuffer({audio::kControlVolume, static_cast<std::uint32_t>(tone.size()), &format, {}},
                                            &buffer),
                  code::kOk);
        void* region = nullptr;
        std::uint32_t bytes = 0;
        ASSERT_EQ(buffer->Lock(0, static_cast<std::uint32_t>(tone.size()), &region, &bytes, nullptr, nullptr, 0),
                  code::kOk);
        ASSERT_EQ(bytes, tone.size());
        std::copy(tone.begin(), tone.end(), static_cast<std::uint8_t*>(region));
        ASSERT_EQ(buffer->Unlock(region, bytes, nullptr, 0), code::kOk);

        EXPECT_EQ(buffer->SetVolume(-600), code::kOk);
        EXPECT_EQ(buffer->SetVolume(1), code::kInvalidArgument);
        EXPECT_EQ(buffer->Play(0, audio::kPlayLooping), code::kOk);
        std::uint32_t status = 0;
        EXPECT_EQ(buffer->GetStatus(&status), code::kOk);
        EXPECT_EQ(status, audio::kStatusPlaying | audio::kStatusLooping);
        std::this_thread::sleep_for(std::chrono::milliseconds(400));  // the writer records in real time
        EXPECT_EQ(buffer->Stop(), code::kOk);
        EXPECT_EQ(buffer->GetStatus(&status), code::kOk);
        EXPECT_EQ(status, 0u);
        EXPECT_EQ(buffer->SetCurrentPosition(0), code::kOk);
        buffer->Release();
        device->Release();
    }
    const double peak = RecordedPeak(output);
    // 0.8 of full scale at -6 dB: about 0.4, whatever the writer's format.
    EXPECT_NEAR(peak, 0.8 * 0.501187, 0.05);
}

TEST(OpenAlAudio, RefusesBuffersItCannotPlay) {
    audio::Device* device = nullptr;
    ASSERT_EQ(platform::openal::CreateDevice(&device), code::kOk);
    WaveFormat adpcm{2, 1, kRate, kRate, 256, 4, 0};
    audio::Buffer* buffer = nullptr;
    EXPECT_EQ(device->CreateSoundBuffer({0, 1000, &adpcm, {}}, &buffer), code::kInvalidArgument);
    EXPECT_EQ(device->CreateSoundBuffer({0, 1000, nullptr, {}}, &buffer), code::kInvalidArgument);
    WaveFormat pcm{1, 1, kRate, kRate * 2, 2, 16, 0};
    EXPECT_EQ(device->CreateSoundBuffer({0, 0, &pcm, {}}, &buffer), code::kInvalidArgument);
    ASSERT_EQ(device->CreateSoundBuffer({audio::kBufferPrimary, 0, nullptr, {}}, &buffer), code::kOk);
    EXPECT_EQ(buffer->SetFormat(&pcm), code::kOk);
    buffer->Release();
    device->Release();
}

}  // namespace
