// A sound that is no file is looked up among the resources of the running
// executable; on Linux the host program publishes those (HostDesktop), and
// the module finds them in the executable's exported symbols.
#include <gtest/gtest.h>

#include "sim/host_desktop.h"
#include "sound/wav_reader.h"
#include "support/wav_file.h"

namespace {

class HostResourcesTest : public testing::Test {
protected:
    void TearDown() override { HostDesktop::Instance().ClearResources(); }
    static void Add(const char* name, const char* type, const std::string& bytes) {
        HostDesktop::Instance().AddResource(name, type, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    }
};

TEST_F(HostResourcesTest, AWaveResourceStandsInForAMissingFile) {
    Add("PANEL_CLICK", "WAVE", wav_file::Pcm16Mono(300));
    WavReader reader;
    ASSERT_EQ(reader.Open("PANEL_CLICK"), result_code::kOk);
    EXPECT_EQ(reader.GetDataSize(), 600u);
    std::uint8_t buffer[700];
    std::uint32_t read = 0;
    EXPECT_EQ(reader.Read(buffer, sizeof buffer, &read), result_code::kOk);
    EXPECT_EQ(read, 600u);
}

TEST_F(HostResourcesTest, TheShortTypeNameIsTriedSecond) {
    Add("PANEL_CLICK", "WAV", wav_file::Pcm16Mono(10));
    WavReader reader;
    EXPECT_EQ(reader.Open("PANEL_CLICK"), result_code::kOk);
    EXPECT_EQ(reader.GetDataSize(), 20u);
}

TEST_F(HostResourcesTest, AResourceOfAnotherTypeOrAnEmptyOneIsNoSound) {
    Add("PANEL_CLICK", "BITMAP", wav_file::Pcm16Mono(10));
    Add("EMPTY", "WAVE", "");
    WavReader reader;
    EXPECT_EQ(reader.Open("PANEL_CLICK"), result_code::kFail);
    EXPECT_EQ(reader.Open("EMPTY"), result_code::kFail);
    EXPECT_EQ(reader.GetDataSize(), 0u);
}

}  // namespace
