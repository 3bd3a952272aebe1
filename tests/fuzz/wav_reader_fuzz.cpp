// Feeds arbitrary bytes to WavReader, from memory and through a file, and
// checks that both give the same answers and never more data than was fed.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "../support/wav_reader_access.h"

namespace {

struct Outcome {
    result_code::Result open = 0;
    result_code::Result reset = 0;
    std::uint32_t dataSize = 0;
    std::vector<std::uint8_t> format;
    std::vector<std::uint8_t> data;  // the first pass over the data
};

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// Reads the data twice, in pieces of varied size, the second time after
// ResetToData; both passes must deliver the same bytes, all taken from the input.
Outcome Exercise(WavReader& reader, result_code::Result open, const std::uint8_t* input, std::size_t inputSize) {
    Outcome outcome;
    outcome.open = open;
    outcome.dataSize = reader.GetDataSize();
    if (result_code::Failed(open)) Check(outcome.dataSize == 0);
    if (reader.format) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(reader.format);
        outcome.format.assign(bytes, bytes + sizeof(WaveFormat) + reader.format->extraBytes);
    }
    Check(outcome.dataSize <= inputSize);

    static constexpr std::uint32_t kPieces[] = {1, 7, 4096, 0, 333};
    std::uint8_t buffer[4096];
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<std::uint8_t> data;
        for (std::size_t i = 0;; ++i) {
            const std::uint32_t piece = kPieces[i % std::size(kPieces)];
            std::uint32_t got = 0xFFFFFFFF;
            const auto result = reader.Read(buffer, piece, &got);
            if (result_code::Failed(result)) {
                Check(result == result_code::kNotInitialised && got == 0xFFFFFFFF);
                break;
            }
            Check(got <= piece);
            data.insert(data.end(), buffer, buffer + got);
            if (got == 0 && piece != 0) break;
        }
        Check(data.size() <= inputSize);
        if (pass == 0) {
            outcome.data = std::move(data);
            if (result_code::kOk == open) Check(outcome.data.size() == outcome.dataSize);
            Check(std::search(input, input + inputSize, outcome.data.begin(), outcome.data.end()) !=
                      input + inputSize ||
                  outcome.data.empty());
            outcome.reset = reader.ResetToData();
        } else {
            Check(result_code::Failed(outcome.reset) ? data.empty() : data == outcome.data);
        }
    }
    return outcome;
}

bool operator==(const Outcome& a, const Outcome& b) {
    return a.open == b.open && a.reset == b.reset && a.dataSize == b.dataSize && a.format == b.format &&
           a.data == b.data;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    WavReader fromMemory;
    const auto memoryOpen = WavReaderTestAccess::OpenMemory(fromMemory, std::vector<std::uint8_t>(bytes, bytes + size));
    const Outcome memory = Exercise(fromMemory, memoryOpen, bytes, size);

    static const std::string path =
        (std::filesystem::temp_directory_path() / ("wav-reader-fuzz-" + std::to_string(getpid()) + ".wav")).string();
    // Registered after the path exists, so it runs before the path is destroyed.
    [[maybe_unused]] static const bool removedAtExit = std::atexit([] { std::remove(path.c_str()); }) == 0;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    Check(out && std::fwrite(bytes, 1, size, out) == size && std::fclose(out) == 0);
    WavReader fromFile;
    const auto fileOpen = fromFile.Open(path.c_str());
    Check(Exercise(fromFile, fileOpen, bytes, size) == memory);

    // A reader opened again drops the first sound completely.
    Check(fromFile.Open("") == result_code::kFail && fromFile.GetDataSize() == 0 && fromFile.format == nullptr);
    return 0;
}
