// WavReader against well-formed sounds and a corpus of malformed ones. Every
// malformed file must open or fail with a result code, and never deliver more
// than the file holds.
#include "sound/wav_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/temp_folder.h"
#include "support/wav_reader_access.h"

namespace {

using namespace std::string_view_literals;

// --- Building sounds in memory ---

std::string Le16(std::uint16_t value) { return {char(value & 0xFF), char(value >> 8)}; }

std::string Le32(std::uint32_t value) { return Le16(std::uint16_t(value)) + Le16(std::uint16_t(value >> 16)); }

// A chunk with its pad byte; declaredSize replaces the true size in the header.
std::string Chunk(std::string_view id, std::string_view body, std::optional<std::uint32_t> declaredSize = {}) {
    std::string chunk = std::string(id) + Le32(declaredSize.value_or(std::uint32_t(body.size()))) + std::string(body);
    if (body.size() % 2) chunk += '\0';
    return chunk;
}

// The 16 bytes every fmt chunk starts with.
std::string FormatFields(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                         std::optional<std::uint16_t> blockAlign = {}) {
    const std::uint16_t align = blockAlign.value_or(std::uint16_t(std::uint32_t(channels) * bits / 8));
    return Le16(tag) + Le16(channels) + Le32(rate) + Le32(rate * align) + Le16(align) + Le16(bits);
}

std::string PcmFmt(std::uint16_t channels = 1, std::uint16_t bits = 16) {
    return Chunk("fmt ", FormatFields(1, channels, 22050, bits));
}

// A non-PCM fmt chunk: the fields, the extra-byte count, the extra bytes.
std::string ExtendedFmt(std::uint16_t tag, std::string_view extra, std::optional<std::uint16_t> count = {}) {
    return Chunk("fmt ", FormatFields(tag, 2, 44100, 16) + Le16(count.value_or(std::uint16_t(extra.size()))) +
                             std::string(extra));
}

// Recognisable sample bytes: no run repeats within 251 bytes.
std::string Samples(std::size_t count, unsigned seed = 0) {
    std::string samples(count, '\0');
    for (std::size_t i = 0; i < count; ++i) samples[i] = char((i + seed) % 251);
    return samples;
}

std::string Wave(std::string_view body, std::optional<std::uint32_t> riffSize = {}) {
    return "RIFF" + Le32(riffSize.value_or(std::uint32_t(body.size() + 4))) + "WAVE" + std::string(body);
}

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

// --- Reading ---

// Everything left of the data, in pieces of the given size; nothing when no
// sound is open.
std::string ReadAll(WavReader& reader, std::uint32_t piece = 1000) {
    std::string data;
    std::vector<std::uint8_t> buffer(piece);
    for (;;) {
        std::uint32_t got = 0;
        const auto result = reader.Read(buffer.data(), piece, &got);
        if (result == result_code::kNotInitialised) return data;
        EXPECT_EQ(result, result_code::kOk);
        if (got == 0) return data;
        data.append(buffer.begin(), buffer.begin() + got);
        if (data.size() > (1u << 24)) {
            ADD_FAILURE() << "read more than any test file holds";
            return data;
        }
    }
}

std::string FormatBytes(const WavReader& reader) {
    if (!reader.format) return {};
    const auto* bytes = reinterpret_cast<const char*>(reader.format);
    return std::string(bytes, sizeof(WaveFormat) + reader.format->extraBytes);
}

class WavReaderTest : public testing::Test {
protected:
    result_code::Result OpenSound(const std::string& bytes) {
        return reader.Open(folder.Write("sound.wav", bytes).string().c_str());
    }

    TempFolder folder;
    WavReader reader;
};

TEST_F(WavReaderTest, PcmFormatIsEighteenBytesWithNoExtraBytes) {
    ASSERT_EQ(OpenSound(Wave(PcmFmt(2, 16) + Chunk("data", Samples(400)))), result_code::kOk);
    ASSERT_NE(reader.format, nullptr);
    EXPECT_EQ(reader.format->formatTag, kWaveFormatPcm);
    EXPECT_EQ(reader.format->channels, 2);
    EXPECT_EQ(reader.format->samplesPerSecond, 22050u);
    EXPECT_EQ(reader.format->averageBytesPerSecond, 22050u * 4);
    EXPECT_EQ(reader.format->blockAlign, 4);
    EXPECT_EQ(reader.format->bitsPerSample, 16);
    EXPECT_EQ(reader.format->extraBytes, 0);
    EXPECT_EQ(FormatBytes(reader).size(), 18u);
    EXPECT_EQ(reader.GetDataSize(), 400u);
    EXPECT_EQ(ReadAll(reader), Samples(400));
}

TEST_F(WavReaderTest, PcmIgnoresAnExtraByteCount) {
    const auto fmt = Chunk("fmt ", FormatFields(1, 1, 8000, 8) + Le16(6) + "abcdef");
    ASSERT_EQ(OpenSound(Wave(fmt + Chunk("data", Samples(10)))), result_code::kOk);
    EXPECT_EQ(reader.format->extraBytes, 0);
    EXPECT_EQ(ReadAll(reader), Samples(10));
}

TEST_F(WavReaderTest, FmtOfFourteenBytesFailsToOpen) {
    const auto fmt = Chunk("fmt ", FormatFields(1, 1, 8000, 8).substr(0, 14));
    EXPECT_EQ(OpenSound(Wave(fmt + Chunk("data", Samples(10)))), result_code::kFail);
    EXPECT_EQ(reader.format, nullptr);
    EXPECT_EQ(reader.GetDataSize(), 0u);
}

TEST_F(WavReaderTest, FormTypeOtherThanWaveFails) {
    std::string sound = Wave(PcmFmt() + Chunk("data", Samples(10)));
    sound.replace(8, 4, "AVI ");
    EXPECT_EQ(OpenSound(sound), result_code::kFail);
    EXPECT_EQ(reader.GetDataSize(), 0u);
}

TEST_F(WavReaderTest, ChunksBetweenFmtAndDataAreSkipped) {
    const auto between = Chunk("LIST", "INFOISFT\x05\0\0\0tool\0"sv) + Chunk("fact", Le32(300)) + Chunk("odd ", "xyz");
    ASSERT_EQ(OpenSound(Wave(PcmFmt() + between + Chunk("data", Samples(300)))), result_code::kOk);
    EXPECT_EQ(reader.GetDataSize(), 300u);
    EXPECT_EQ(ReadAll(reader), Samples(300));
}

TEST_F(WavReaderTest, DataBeforeFmtStillOpens) {
    ASSERT_EQ(OpenSound(Wave(Chunk("data", Samples(77)) + PcmFmt(1, 8))), result_code::kOk);
    EXPECT_EQ(reader.format->bitsPerSample, 8);
    EXPECT_EQ(ReadAll(reader), Samples(77));
}

TEST_F(WavReaderTest, ReadStopsAtTheEndOfDataAndResetToDataStartsAgain) {
    ASSERT_EQ(OpenSound(Wave(PcmFmt() + Chunk("data", Samples(600)) + Chunk("cue ", "trailer"))), result_code::kOk);
    std::uint8_t buffer[1000];
    std::uint32_t got = 12345;
    ASSERT_EQ(reader.Read(buffer, sizeof buffer, &got), result_code::kOk);
    ASSERT_EQ(got, 600u);
    EXPECT_EQ(std::string(buffer, buffer + got), Samples(600));
    got = 12345;
    EXPECT_EQ(reader.Read(buffer, sizeof buffer, &got), result_code::kOk);
    EXPECT_EQ(got, 0u);

    ASSERT_EQ(reader.ResetToData(), result_code::kOk);
    ASSERT_EQ(reader.Read(buffer, 10, &got), result_code::kOk);
    EXPECT_EQ(std::string(buffer, buffer + got), Samples(10));
    EXPECT_EQ(reader.GetDataSize(), 600u);
}

TEST_F(WavReaderTest, NameThatIsNeitherFileNorResourceFails) {
    const auto missing = (folder.path() / "no-such-sound.wav").string();
    EXPECT_EQ(reader.Open(missing.c_str()), result_code::kFail);
    EXPECT_EQ(reader.GetDataSize(), 0u);
    EXPECT_EQ(reader.format, nullptr);
    EXPECT_EQ(reader.Open("AVRION_NO_SUCH_SOUND_RESOURCE"), result_code::kFail);
    EXPECT_EQ(reader.GetDataSize(), 0u);
}

TEST_F(WavReaderTest, FolderIsNoSound) {
    EXPECT_EQ(reader.Open(folder.path().string().c_str()), result_code::kFail);
    EXPECT_EQ(reader.GetDataSize(), 0u);
}

TEST_F(WavReaderTest, NullNameIsAnInvalidArgument) {
    EXPECT_EQ(reader.Open(nullptr), result_code::kInvalidArgument);
    EXPECT_EQ(reader.GetDataSize(), 0u);
}

TEST_F(WavReaderTest, NothingWorksBeforeOpen) {
    std::uint8_t buffer[4];
    std::uint32_t got = 7;
    EXPECT_EQ(reader.Read(buffer, sizeof buffer, &got), result_code::kNotInitialised);
    EXPECT_EQ(reader.ResetToData(), result_code::kNotInitialised);
    EXPECT_EQ(reader.ReadFormat(), result_code::kFail);
    EXPECT_EQ(reader.format, nullptr);
    EXPECT_EQ(reader.GetDataSize(), 0u);
    EXPECT_EQ(reader.Close(), result_code::kOk);
}

TEST_F(WavReaderTest, ReadNeedsABufferAndACount) {
    ASSERT_EQ(OpenSound(Wave(PcmFmt() + Chunk("data", Samples(8)))), result_code::kOk);
    std::uint8_t buffer[8];
    std::uint32_t got = 0;
    EXPECT_EQ(reader.Read(nullptr, 8, &got), result_code::kInvalidArgument);
    EXPECT_EQ(reader.Read(buffer, 8, nullptr), result_code::kInvalidArgument);
    EXPECT_EQ(ReadAll(reader), Samples(8));  // nothing was consumed
}

TEST_F(WavReaderTest, ReadAfterCloseIsNotInitialised) {
    ASSERT_EQ(OpenSound(Wave(PcmFmt() + Chunk("data", Samples(8)))), result_code::kOk);
    EXPECT_EQ(reader.Close(), result_code::kOk);
    std::uint8_t buffer[8];
    std::uint32_t got = 0;
    EXPECT_EQ(reader.Read(buffer, 8, &got), result_code::kNotInitialised);
}

TEST_F(WavReaderTest, NonPcmKeepsItsExtraBytes) {
    const std::string extra = "\x01\x02\x03\x04\xF4\x01";
    ASSERT_EQ(OpenSound(Wave(ExtendedFmt(2, extra) + Chunk("data", Samples(64)))), result_code::kOk);
    EXPECT_EQ(reader.format->formatTag, 2);
    EXPECT_EQ(reader.format->extraBytes, extra.size());
    EXPECT_EQ(FormatBytes(reader).substr(18), extra);
    EXPECT_EQ(ReadAll(reader), Samples(64));
}

// A non-PCM fmt chunk without an extra-byte count ends at its 16 fields; the
// bytes after it belong to the next chunk, not to the format.
TEST_F(WavReaderTest, NonPcmWithoutExtraByteCountHasNoExtraBytes) {
    const auto fmt = Chunk("fmt ", FormatFields(3, 1, 48000, 32));
    ASSERT_EQ(OpenSound(Wave(fmt + Chunk("data", Samples(40)))), result_code::kOk);
    EXPECT_EQ(reader.format->formatTag, 3);
    EXPECT_EQ(reader.format->extraBytes, 0);
    EXPECT_EQ(ReadAll(reader), Samples(40));
}

TEST_F(WavReaderTest, ExtraBytesBeyondTheFmtChunkFail) {
    // Claims 22 extra bytes, holds none: the data chunk must not become the format.
    const auto fmt = ExtendedFmt(0xFFFE, "", 22);
    EXPECT_EQ(OpenSound(Wave(fmt + Chunk("data", Samples(100)))), result_code::kFail);
    EXPECT_EQ(reader.format, nullptr);
    EXPECT_EQ(reader.GetDataSize(), 0u);
}

TEST_F(WavReaderTest, MissingDataFailsAndDeliversNothing) {
    EXPECT_EQ(OpenSound(Wave(PcmFmt() + Chunk("junk", Samples(50)))), result_code::kFail);
    EXPECT_EQ(reader.GetDataSize(), 0u);
    std::uint8_t buffer[64];
    std::uint32_t got = 99;
    EXPECT_EQ(reader.Read(buffer, sizeof buffer, &got), result_code::kOk);
    EXPECT_EQ(got, 0u);
}

TEST_F(WavReaderTest, OpeningAgainReplacesTheFirstSound) {
    ASSERT_EQ(OpenSound(Wave(ExtendedFmt(2, "abcd") + Chunk("data", Samples(30)))), result_code::kOk);
    const auto second = folder.Write("second.wav", Wave(PcmFmt(1, 8) + Chunk("data", Samples(20, 5)))).string();
    ASSERT_EQ(reader.Open(second.c_str()), result_code::kOk);
    EXPECT_EQ(reader.format->formatTag, kWaveFormatPcm);
    EXPECT_EQ(reader.GetDataSize(), 20u);
    EXPECT_EQ(ReadAll(reader), Samples(20, 5));

    EXPECT_EQ(reader.Open((folder.path() / "missing.wav").string().c_str()), result_code::kFail);
    EXPECT_EQ(reader.format, nullptr);
    EXPECT_EQ(reader.GetDataSize(), 0u);
}

TEST_F(WavReaderTest, BytesInMemoryReadAsAFileDoes) {
    ASSERT_EQ(WavReaderTestAccess::OpenMemory(reader, Bytes(Wave(PcmFmt() + Chunk("data", Samples(300))))),
              result_code::kOk);
    EXPECT_EQ(reader.GetDataSize(), 300u);
    EXPECT_EQ(ReadAll(reader, 7), Samples(300));
}

// --- The malformed corpus ---

struct MalformedCase {
    const char* file;  // its name in the committed corpus
    std::string bytes;
    bool opens;
    std::uint32_t dataSize;  // when it opens
};

const std::string kHugeFmt = Chunk("fmt ", FormatFields(1, 1, 8000, 8)).replace(4, 4, Le32(0xFFFFFFF0));

std::vector<MalformedCase> MalformedCases() {
    const std::string data = Chunk("data", Samples(100));
    std::string zeroChunks;
    for (int i = 0; i < 500; ++i) zeroChunks += Chunk("zero", "");
    return {
        {"empty.wav", "", false, 0},
        {"three-bytes.wav", "RIF", false, 0},
        {"riff-id-only.wav", "RIFF", false, 0},
        {"riff-header-only.wav", "RIFF" + Le32(4), false, 0},
        {"riff-no-chunks.wav", Wave(""), false, 0},
        {"form-type-avi.wav", "RIFF" + Le32(4) + "AVI " + PcmFmt() + data, false, 0},
        {"fmt-missing.wav", Wave(data), false, 0},
        {"data-missing.wav", Wave(PcmFmt()), false, 0},
        {"fmt-size-zero.wav", Wave(Chunk("fmt ", "") + PcmFmt() + data), false, 0},
        {"fmt-size-14.wav", Wave(Chunk("fmt ", FormatFields(1, 1, 8000, 8).substr(0, 14)) + data), false, 0},
        {"fmt-size-huge.wav", Wave(kHugeFmt + data), false, 0},
        {"fmt-size-ffffffff.wav", Wave(Chunk("fmt ", FormatFields(1, 1, 8000, 8), 0xFFFFFFFF) + data), false, 0},
        {"fmt-truncated.wav", Wave(Chunk("fmt ", FormatFields(1, 1, 8000, 8)).substr(0, 18)), false, 0},
        {"fmt-count-truncated.wav", Wave(Chunk("fmt ", FormatFields(2, 1, 8000, 8) + "\x04") + data), false, 0},
        {"fmt-extra-past-chunk.wav", Wave(ExtendedFmt(2, "ab", 40000) + data), false, 0},
        {"fmt-extra-past-file.wav", Wave(ExtendedFmt(2, "abcd", 4)).substr(0, 12 + 8 + 18 + 2), false, 0},
        {"chunk-past-end.wav", Wave(PcmFmt() + Chunk("junk", "abc", 1000) + data), false, 0},
        {"chunk-size-wraps.wav", Wave(PcmFmt() + Chunk("junk", "", 0xFFFFFFF8) + data), false, 0},
        {"chunk-size-odd-wraps.wav", Wave(Chunk("junk", "", 0xFFFFFFF7) + PcmFmt() + data), false, 0},
        {"chunk-header-cut.wav", Wave(PcmFmt()) + "dat", false, 0},
        {"pad-byte-missing.wav", Wave(PcmFmt() + "junk" + Le32(3) + "abc" + data), false, 0},
        {"pad-byte-honoured.wav", Wave(PcmFmt() + Chunk("junk", "abc") + data), true, 100},
        {"fmt-odd-size.wav", Wave(Chunk("fmt ", FormatFields(1, 1, 8000, 8) + "x") + data), true, 100},
        {"data-odd-size.wav", Wave(PcmFmt() + Chunk("data", Samples(5))), true, 5},
        {"data-size-zero.wav", Wave(PcmFmt() + Chunk("data", "")), true, 0},
        {"data-larger-than-file.wav", Wave(PcmFmt() + Chunk("data", Samples(100), 10000)), true, 100},
        {"data-size-ffffffff.wav", Wave(PcmFmt() + Chunk("data", Samples(100), 0xFFFFFFFF)), true, 100},
        {"data-size-wraps.wav", Wave(PcmFmt() + Chunk("data", Samples(100), 0xFFFFFFF8)), true, 100},
        {"riff-size-larger-than-file.wav", Wave(PcmFmt() + data, 100000), true, 100},
        {"riff-size-ffffffff.wav", Wave(PcmFmt() + data, 0xFFFFFFFF), true, 100},
        {"riff-size-zero.wav", Wave(PcmFmt() + data, 0), false, 0},
        {"riff-size-ends-before-data.wav", Wave(PcmFmt() + data, 4 + 24), false, 0},
        {"zero-sized-chunks.wav", Wave(PcmFmt() + zeroChunks + data), true, 100},
        {"zero-channels.wav", Wave(Chunk("fmt ", FormatFields(1, 0, 22050, 16)) + data), true, 100},
        {"zero-block-align.wav", Wave(Chunk("fmt ", FormatFields(1, 2, 22050, 16, 0)) + data), true, 100},
        {"huge-channel-count.wav", Wave(Chunk("fmt ", FormatFields(1, 0xFFFF, 0xFFFFFFFF, 0xFFFF)) + data), true, 100},
        {"extensible-truncated.wav", Wave(ExtendedFmt(0xFFFE, Samples(10), 22) + data), false, 0},
        {"two-fmt-chunks.wav", Wave(PcmFmt(1, 8) + ExtendedFmt(2, "abcd") + data), true, 100},
        {"non-pcm-float.wav", Wave(Chunk("fmt ", FormatFields(3, 1, 48000, 32)) + data), true, 100},
        {"non-pcm-adpcm.wav", Wave(ExtendedFmt(2, Samples(32)) + data), true, 100},
        {"non-pcm-extensible.wav", Wave(ExtendedFmt(0xFFFE, Samples(22)) + data), true, 100},
        {"valid-pcm-mono-8bit.wav", Wave(PcmFmt(1, 8) + Chunk("data", Samples(1000))), true, 1000},
        {"valid-pcm-stereo-16bit.wav",
         Wave(PcmFmt(2, 16) + Chunk("LIST", "INFOIART\x03\0\0\0ab\0\0"sv) + Chunk("data", Samples(2000))), true, 2000},
    };
}

// Opens the sound from its file and from memory; both must agree, stay within
// the bytes given and read the same data after ResetToData.
void ExpectCleanOpen(const std::string& path, const std::string& bytes, const MalformedCase* expected) {
    WavReader fromFile;
    const auto opened = fromFile.Open(path.c_str());
    ASSERT_TRUE(opened == result_code::kOk || opened == result_code::kFail) << std::hex << opened;
    if (opened != result_code::kOk) {
        EXPECT_EQ(fromFile.GetDataSize(), 0u);
    }
    EXPECT_LE(fromFile.GetDataSize(), bytes.size());
    const std::string data = ReadAll(fromFile, 64);
    EXPECT_EQ(data.size(), fromFile.GetDataSize());
    if (opened == result_code::kOk) {
        ASSERT_EQ(fromFile.ResetToData(), result_code::kOk);
        EXPECT_EQ(ReadAll(fromFile, 1000), data);
        EXPECT_NE(bytes.find(data), std::string::npos);
    }

    WavReader fromMemory;
    EXPECT_EQ(WavReaderTestAccess::OpenMemory(fromMemory, Bytes(bytes)), opened);
    EXPECT_EQ(FormatBytes(fromMemory), FormatBytes(fromFile));
    EXPECT_EQ(ReadAll(fromMemory, 3), data);

    if (expected) {
        EXPECT_EQ(opened == result_code::kOk, expected->opens);
        EXPECT_EQ(fromFile.GetDataSize(), expected->dataSize);
        if (expected->opens && expected->dataSize) {
            EXPECT_EQ(data, Samples(expected->dataSize));
        }
    }
}

TEST(WavReaderCorpus, MalformedFilesOpenOrFailCleanly) {
    TempFolder folder;
    for (const auto& c : MalformedCases()) {
        SCOPED_TRACE(c.file);
        ExpectCleanOpen(folder.Write(c.file, c.bytes).string(), c.bytes, &c);
    }
}

TEST(WavReaderCorpus, FirstFmtChunkCounts) {
    TempFolder folder;
    WavReader reader;
    const auto path = folder.Write("two.wav", Wave(PcmFmt(1, 8) + PcmFmt(2, 16) + Chunk("data", "ab"))).string();
    ASSERT_EQ(reader.Open(path.c_str()), result_code::kOk);
    EXPECT_EQ(reader.format->channels, 1);
    EXPECT_EQ(reader.format->bitsPerSample, 8);
}

#ifdef AVRION_WAV_CORPUS_DIR
std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The committed corpus, which also holds inputs the fuzzer found.
TEST(WavReaderCorpus, CommittedFilesOpenOrFailCleanly) {
    const std::filesystem::path corpus = AVRION_WAV_CORPUS_DIR;
    const auto cases = MalformedCases();
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (!entry.is_regular_file()) continue;
        SCOPED_TRACE(entry.path().filename().string());
        const MalformedCase* expected = nullptr;
        for (const auto& c : cases) {
            if (entry.path().filename() == c.file) expected = &c;
        }
        const std::string bytes = ReadFile(entry.path());
        if (expected) {
            EXPECT_EQ(bytes, expected->bytes) << "differs from its case here";
        }
        ExpectCleanOpen(entry.path().string(), bytes, expected);
        ++files;
    }
    for (const auto& c : cases) EXPECT_TRUE(std::filesystem::exists(corpus / c.file)) << c.file << " not committed";
    EXPECT_GE(files, cases.size());
}

// Rewrites the committed corpus from the cases above:
// --gtest_also_run_disabled_tests --gtest_filter=WavReaderCorpus.DISABLED_WriteCommittedFiles
TEST(WavReaderCorpus, DISABLED_WriteCommittedFiles) {
    for (const auto& c : MalformedCases()) {
        std::ofstream(std::filesystem::path(AVRION_WAV_CORPUS_DIR) / c.file, std::ios::binary) << c.bytes;
    }
}
#endif

}  // namespace
