// The shipped panel sounds: the one format the module plays, headroom below full scale, sirens that loop without
// a click at the seam, and clicks that die away to silence before they end.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<short> Load(const std::string& name) {
    const std::string path = std::string(AVRION_SOUND_DIR) + "/" + name;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        ADD_FAILURE() << path << ": " << sf_strerror(nullptr);
        return {};
    }
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16) << name;
    EXPECT_EQ(info.samplerate, 22050) << name;
    EXPECT_EQ(info.channels, 1) << name;
    std::vector<short> samples(static_cast<std::size_t>(info.frames * info.channels));
    samples.resize(
        static_cast<std::size_t>(sf_read_short(file, samples.data(), static_cast<sf_count_t>(samples.size()))));
    sf_close(file);
    return samples;
}

int Peak(const std::vector<short>& s, std::size_t from = 0) {
    int peak = 0;
    for (std::size_t i = from; i < s.size(); ++i) peak = std::max(peak, std::abs(static_cast<int>(s[i])));
    return peak;
}

class SoundFile : public testing::TestWithParam<const char*> {};

TEST_P(SoundFile, IsPlayableWithHeadroom) {
    const auto s = Load(GetParam());
    ASSERT_FALSE(s.empty());
    EXPECT_LE(Peak(s), 30934) << "no more than -0.5 dBFS";
}

INSTANTIATE_TEST_SUITE_P(Panel, SoundFile,
                         testing::Values("Tumb_fix.wav", "Kolp.wav", "Tumb_no_fix.wav", "Galetn.wav", "SIRENA.wav",
                                         "sirena_pr.wav"));

// The step and the bend across the seam must be no sharper than anywhere inside the loop.
TEST(SoundFiles, SirensLoopWithoutAJump) {
    for (const char* name : {"SIRENA.wav", "sirena_pr.wav"}) {
        const auto s = Load(name);
        ASSERT_GE(s.size(), 3u) << name;
        const auto at = [&](std::size_t i) { return static_cast<int>(s[i]); };
        int step = 0, bend = 0;
        for (std::size_t i = 1; i < s.size(); ++i) {
            step = std::max(step, std::abs(at(i) - at(i - 1)));
            if (i + 1 < s.size()) bend = std::max(bend, std::abs(at(i + 1) - 2 * at(i) + at(i - 1)));
        }
        const std::size_t last = s.size() - 1;
        EXPECT_LE(std::abs(at(0) - at(last)), step) << name;
        EXPECT_LE(std::abs(at(0) - 2 * at(last) + at(last - 1)), bend) << name;
        EXPECT_LE(std::abs(at(1) - 2 * at(0) + at(last)), bend) << name;
    }
}

TEST(SoundFiles, ClicksEndInSilence) {
    for (const char* name : {"Tumb_fix.wav", "Kolp.wav", "Tumb_no_fix.wav", "Galetn.wav"}) {
        const auto s = Load(name);
        ASSERT_GT(s.size(), 110u) << name;
        EXPECT_LE(Peak(s, s.size() - 110), 104) << name << ": last 5 ms above -50 dBFS";
    }
}

}  // namespace
