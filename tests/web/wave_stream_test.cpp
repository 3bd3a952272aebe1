// The mixed sound as OpenAL Soft's wave writer streams it: decoded in pieces,
// started over at every new header, other formats refused.
#include "web/wave_stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

void Put16(std::vector<std::uint8_t>& bytes, std::uint16_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}
void Put32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    Put16(bytes, static_cast<std::uint16_t>(value));
    Put16(bytes, static_cast<std::uint16_t>(value >> 16));
}
void PutText(std::vector<std::uint8_t>& bytes, const char* text) { bytes.insert(bytes.end(), text, text + 4); }

// A header as the wave writer makes it: extensible format, no length known.
std::vector<std::uint8_t> Header(std::uint16_t subformat, std::uint16_t bits, std::uint16_t channels = 2) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(80);  // also keeps GCC 12 from a false overflow warning on the first insert
    PutText(bytes, "RIFF");
    Put32(bytes, 0xFFFFFFFF);
    PutText(bytes, "WAVE");
    PutText(bytes, "fmt ");
    Put32(bytes, 40);
    Put16(bytes, 0xFFFE);
    Put16(bytes, channels);
    Put32(bytes, 44100);
    Put32(bytes, 44100u * channels * bits / 8);
    Put16(bytes, static_cast<std::uint16_t>(channels * bits / 8));
    Put16(bytes, bits);
    Put16(bytes, 22);
    Put16(bytes, bits);
    Put32(bytes, 3);
    Put16(bytes, subformat);
    for (int i = 0; i < 14; ++i) bytes.push_back(0);
    PutText(bytes, "data");
    Put32(bytes, 0xFFFFFFFF);
    return bytes;
}

void PutFloat(std::vector<std::uint8_t>& bytes, float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, 4);
    Put32(bytes, bits);
}

std::vector<std::int16_t> FeedInPieces(web::WaveStream& stream, const std::vector<std::uint8_t>& bytes, std::size_t piece) {
    std::vector<std::int16_t> out;
    for (std::size_t at = 0; at < bytes.size(); at += piece)
        stream.Feed(bytes.data() + at, std::min(piece, bytes.size() - at), out);
    return out;
}

TEST(WaveStream, FloatSamplesBecomeSixteenBitOnesWhateverThePieces) {
    std::vector<std::uint8_t> bytes = Header(3, 32);
    for (const float value : {0.0f, 1.0f, -1.0f, 0.5f, 2.0f, -0.25f}) PutFloat(bytes, value);
    PutFloat(bytes, 0.0f);  // a frame the stream holds back until more comes
    PutFloat(bytes, 0.0f);
    PutFloat(bytes, 0.0f);
    PutFloat(bytes, 0.0f);
    for (const std::size_t piece : {std::size_t{1}, std::size_t{5}, std::size_t{4096}}) {
        web::WaveStream stream;
        const auto out = FeedInPieces(stream, bytes, piece);
        ASSERT_TRUE(stream.ready());
        EXPECT_EQ(stream.sampleRate(), 44100);
        EXPECT_EQ(stream.channels(), 2);
        ASSERT_GE(out.size(), 6u) << piece;
        EXPECT_EQ(std::vector<std::int16_t>(out.begin(), out.begin() + 6),
                  (std::vector<std::int16_t>{0, 32767, -32767, 16384, 32767, -8192}));
        EXPECT_EQ(out.size() % 2, 0u) << "whole frames only";
    }
}

TEST(WaveStream, SixteenBitSamplesPassAsTheyAre) {
    std::vector<std::uint8_t> bytes = Header(1, 16, 1);
    for (const std::uint16_t value : {1, 65535, 1000, 2, 3, 4, 5, 6, 7}) Put16(bytes, value);
    web::WaveStream stream;
    const auto out = FeedInPieces(stream, bytes, 3);
    ASSERT_GE(out.size(), 3u);
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[1], -1);
    EXPECT_EQ(out[2], 1000);
}

TEST(WaveStream, ANewHeaderStartsTheStreamOverAndBytesBeforeAnyAreDropped) {
    std::vector<std::uint8_t> bytes = {9, 9, 9, 9, 9};  // the tail of a stream that is over
    const auto first = Header(3, 32);
    bytes.insert(bytes.end(), first.begin(), first.end());
    PutFloat(bytes, 0.5f);
    PutFloat(bytes, 0.5f);
    PutFloat(bytes, 0.5f);  // half a frame, then the module's sound device opens anew
    const auto second = Header(1, 16, 1);
    bytes.insert(bytes.end(), second.begin(), second.end());
    for (int i = 0; i < 10; ++i) Put16(bytes, 100);
    web::WaveStream stream;
    const auto out = FeedInPieces(stream, bytes, 7);
    EXPECT_EQ(stream.channels(), 1);
    ASSERT_GE(out.size(), 3u);
    EXPECT_EQ(out[0], 16384);
    EXPECT_EQ(out[1], 16384);
    for (std::size_t i = 2; i < out.size(); ++i) EXPECT_EQ(out[i], 100) << i;
}

TEST(WaveStream, OtherFormatsAreNotRead) {
    std::vector<std::uint8_t> bytes = Header(1, 24);  // 24-bit integers
    for (int i = 0; i < 64; ++i) bytes.push_back(0x55);
    web::WaveStream stream;
    EXPECT_TRUE(FeedInPieces(stream, bytes, 16).empty());
    EXPECT_FALSE(stream.ready());
}

}  // namespace
