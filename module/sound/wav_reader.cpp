#include "sound/wav_reader.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <fstream>
#include <new>
#include <utility>

#include "platform/resources.h"

namespace {

constexpr std::uint32_t FourCc(const char (&id)[5]) {
    return std::uint32_t(std::uint8_t(id[0])) | std::uint32_t(std::uint8_t(id[1])) << 8 |
           std::uint32_t(std::uint8_t(id[2])) << 16 | std::uint32_t(std::uint8_t(id[3])) << 24;
}

constexpr std::uint32_t kRiff = FourCc("RIFF");
constexpr std::uint32_t kWave = FourCc("WAVE");
constexpr std::uint32_t kFmt = FourCc("fmt ");
constexpr std::uint32_t kData = FourCc("data");

constexpr std::size_t kFmtFieldsSize = 16;  // a WaveFormat without its extra-byte count
constexpr std::uint64_t kChunkHeaderSize = 8;

std::uint32_t LittleEndian32(const std::uint8_t* bytes) {
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
           std::uint32_t(bytes[3]) << 24;
}

}  // namespace

// The bytes of one sound, from a file or from memory. The size is taken once,
// so every size field of the sound can be checked against the bytes present.
// Offsets are 64-bit so that an offset plus a 32-bit chunk size never wraps.
class WavByteSource {
public:
    WavByteSource(const std::uint8_t* bytes, std::uint64_t size) : memory(bytes), size(size) {}

    // Null when the file cannot be opened or measured.
    static std::unique_ptr<WavByteSource> OpenFile(const char* name) {
        auto source = std::make_unique<WavByteSource>(nullptr, 0);
        source->stream.open(name, std::ios::binary);
        if (!source->stream.is_open() || !source->stream.seekg(0, std::ios::end)) return nullptr;
        const std::streamoff end = source->stream.tellg();
        if (end < 0) return nullptr;
        source->size = static_cast<std::uint64_t>(end);
        return source;
    }

    std::uint64_t Size() const { return size; }
    std::uint64_t Position() const { return position; }
    // Seeking past the end is allowed; reads there deliver nothing.
    void Seek(std::uint64_t offset) { position = offset; }

    std::size_t Read(void* destination, std::size_t count) {
        if (position >= size) return 0;
        count = static_cast<std::size_t>(std::min<std::uint64_t>(count, size - position));
        if (count == 0) return 0;
        std::size_t got = count;
        if (!stream.is_open()) {
            std::memcpy(destination, memory + position, count);
        } else {
            // Seeking discards the stream's buffer, so only when reads are not in sequence.
            if (streamPosition != position) {
                stream.clear();
                if (!stream.seekg(static_cast<std::streamoff>(position))) return 0;
            }
            stream.read(static_cast<char*>(destination), static_cast<std::streamsize>(count));
            got = static_cast<std::size_t>(stream.gcount());
            streamPosition = got == count ? position + got : kUnknownPosition;
        }
        position += got;
        return got;
    }

    // Finds the chunk with that id among the chunks from the current position
    // up to end, and positions at its first data byte. Each step advances by at
    // least a header, so even zero-sized chunks end the search.
    bool FindChunk(std::uint32_t id, std::uint64_t end, std::uint32_t& foundSize, std::uint64_t& dataOffset) {
        end = std::min(end, size);
        for (std::uint64_t at = position; at + kChunkHeaderSize <= end;) {
            std::uint8_t header[kChunkHeaderSize];
            Seek(at);
            if (Read(header, sizeof header) != sizeof header) return false;
            const std::uint32_t chunkSize = LittleEndian32(header + 4);
            if (LittleEndian32(header) == id) {
                foundSize = chunkSize;
                dataOffset = at + kChunkHeaderSize;
                return true;
            }
            at += kChunkHeaderSize + chunkSize + (chunkSize & 1);
        }
        return false;
    }

private:
    static constexpr std::uint64_t kUnknownPosition = ~std::uint64_t(0);

    std::ifstream stream;
    std::uint64_t streamPosition = kUnknownPosition;
    const std::uint8_t* memory;
    std::uint64_t size;
    std::uint64_t position = 0;
};

WavReader::WavReader() : format(nullptr), dataSize(0) {}

WavReader::~WavReader() {
    Close();
    format = nullptr;
}

result_code::Result WavReader::Open(const char* name) {
    // Callers take a size of 0 as "nothing to play" after any failure.
    dataSize = 0;
    if (!name) return result_code::kInvalidArgument;
    ForgetSound();
    try {
        file = WavByteSource::OpenFile(name);
        if (!file) {
            std::vector<std::uint8_t> bytes;
            if (!platform::LoadMainExecutableResource(name, "WAVE", bytes) &&
                !platform::LoadMainExecutableResource(name, "WAV", bytes)) {
                return result_code::kFail;
            }
            return OpenMemory(std::move(bytes));
        }
    } catch (const std::bad_alloc&) {
        ForgetSound();
        return result_code::kOutOfMemory;
    }
    return ReadOpenedSource();
}

result_code::Result WavReader::OpenMemory(std::vector<std::uint8_t> bytes) {
    dataSize = 0;
    ForgetSound();
    resourceCopy = std::move(bytes);
    file = std::make_unique<WavByteSource>(resourceCopy.data(), resourceCopy.size());
    return ReadOpenedSource();
}

void WavReader::ForgetSound() {
    Close();
    format = nullptr;
    std::vector<std::uint8_t>().swap(formatStorage);
    riffChunk = {};
    dataChunk = {};
}

result_code::Result WavReader::ReadOpenedSource() {
    if (const auto result = ReadFormat(); result_code::Failed(result)) {
        Close();
        return result;
    }
    if (const auto result = ResetToData(); result_code::Failed(result)) return result;
    dataSize = dataChunk.size;
    return result_code::kOk;
}

result_code::Result WavReader::ReadFormat() {
    format = nullptr;
    formatStorage.clear();
    riffChunk = {};
    if (!file) return result_code::kFail;

    const std::uint64_t riffAt = file->Position();
    std::uint8_t riffHeader[12];
    if (file->Read(riffHeader, sizeof riffHeader) != sizeof riffHeader) return result_code::kFail;
    if (LittleEndian32(riffHeader) != kRiff || LittleEndian32(riffHeader + 8) != kWave) return result_code::kFail;
    const Chunk riff{kRiff, LittleEndian32(riffHeader + 4), kWave, riffAt + kChunkHeaderSize};

    Chunk fmt{kFmt};
    if (!file->FindChunk(kFmt, riff.dataOffset + riff.size, fmt.size, fmt.dataOffset)) return result_code::kFail;
    if (fmt.size < kFmtFieldsSize) return result_code::kFail;
    std::uint8_t fields[kFmtFieldsSize];
    if (file->Read(fields, sizeof fields) != sizeof fields) return result_code::kFail;

    // The extra-byte count and the extra bytes are read only from within the
    // fmt chunk: beyond it lie the bytes of the next chunk, not the format. A
    // 16-byte fmt chunk has no count, so there are no extra bytes.
    const std::uint16_t tag = std::uint16_t(fields[0] | fields[1] << 8);
    std::uint16_t extraBytes = 0;
    if (tag != kWaveFormatPcm && fmt.size > kFmtFieldsSize) {
        std::uint8_t count[2];
        if (fmt.size < kFmtFieldsSize + sizeof count || file->Read(count, sizeof count) != sizeof count) {
            return result_code::kFail;
        }
        extraBytes = std::uint16_t(count[0] | count[1] << 8);
        if (extraBytes > fmt.size - kFmtFieldsSize - sizeof count) return result_code::kFail;
    }
    try {
        formatStorage.resize(sizeof(WaveFormat) + extraBytes);
    } catch (const std::bad_alloc&) {
        return result_code::kFail;
    }
    std::memcpy(formatStorage.data(), fields, sizeof fields);
    std::memcpy(formatStorage.data() + offsetof(WaveFormat, extraBytes), &extraBytes, sizeof extraBytes);
    const bool extraRead = file->Read(formatStorage.data() + sizeof(WaveFormat), extraBytes) == extraBytes;

    // Ascend out of the fmt chunk, which must lie within the bytes present.
    const std::uint64_t fmtEnd = fmt.dataOffset + fmt.size;
    if (!extraRead || fmtEnd > file->Size()) {
        formatStorage.clear();
        return result_code::kFail;
    }
    file->Seek(fmtEnd + (fmt.size & 1));
    riffChunk = riff;
    format = reinterpret_cast<const WaveFormat*>(formatStorage.data());
    return result_code::kOk;
}

result_code::Result WavReader::ResetToData() {
    if (!file) return result_code::kNotInitialised;
    // Nothing is left to read unless the data chunk is found again.
    dataChunk = {};
    file->Seek(riffChunk.dataOffset + 4);
    Chunk data{kData};
    if (!file->FindChunk(kData, riffChunk.dataOffset + riffChunk.size, data.size, data.dataOffset)) {
        return result_code::kFail;
    }
    // A size beyond the end of the file is cut to the bytes present, which are
    // all that Read can deliver.
    data.size = static_cast<std::uint32_t>(std::min<std::uint64_t>(data.size, file->Size() - data.dataOffset));
    file->Seek(data.dataOffset);
    dataChunk = data;
    return result_code::kOk;
}

result_code::Result WavReader::Read(std::uint8_t* buffer, std::uint32_t size, std::uint32_t* bytesRead) {
    if (!file) return result_code::kNotInitialised;
    if (!buffer || !bytesRead) return result_code::kInvalidArgument;
    *bytesRead = 0;
    const std::uint32_t wanted = std::min(size, dataChunk.size);
    const auto got = static_cast<std::uint32_t>(file->Read(buffer, wanted));
    *bytesRead = got;
    if (got != wanted) {
        // The file shrank or failed under us: stop rather than hand out a gap.
        dataChunk.size = 0;
        return result_code::kFail;
    }
    dataChunk.size -= got;
    return result_code::kOk;
}

result_code::Result WavReader::Close() {
    file.reset();  // before the bytes it may point into
    std::vector<std::uint8_t>().swap(resourceCopy);
    return result_code::kOk;
}
