// Reads one RIFF/WAVE sound: its format record and the sample bytes of its
// data chunk. A name that is not a readable file is looked up as a "WAVE" or
// "WAV" resource of the process's main executable.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/wave_format.h"
#include "sound/result_codes.h"

class WavByteSource;  // the open file or resource copy, see wav_reader.cpp

class WavReader {
public:
    WavReader();
    ~WavReader();
    WavReader(const WavReader&) = delete;
    WavReader& operator=(const WavReader&) = delete;

    result_code::Result Open(const char* name);
    result_code::Result ReadFormat();
    result_code::Result ResetToData();
    result_code::Result Read(std::uint8_t* buffer, std::uint32_t size, std::uint32_t* bytesRead);
    std::uint32_t GetDataSize() const { return dataSize; }
    result_code::Result Close();

    // The format record (WAVEFORMATEX layout, extra bytes after it); null
    // until ReadFormat succeeds.
    const WaveFormat* format;

private:
    friend struct WavReaderTestAccess;  // lets tests and the fuzzer feed bytes without a file

    // Reads from a copy of bytes, as from a resource.
    result_code::Result OpenMemory(std::vector<std::uint8_t> bytes);
    // Drops the open sound, its format and its chunks.
    void ForgetSound();
    // Steps shared by both kinds of source once it is open.
    result_code::Result ReadOpenedSource();

    std::unique_ptr<WavByteSource> file;
    std::vector<std::uint8_t> formatStorage;
    std::vector<std::uint8_t> resourceCopy;
    // Chunks as WinMM describes them: id, size, form type, data offset.
    struct Chunk {
        std::uint32_t id = 0;
        std::uint32_t size = 0;
        std::uint32_t formType = 0;
        std::uint64_t dataOffset = 0;
    };
    Chunk dataChunk;  // its size counts down as bytes are read
    Chunk riffChunk;
    std::uint32_t dataSize;
};
