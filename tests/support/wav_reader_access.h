// Test access to WavReader: opens a sound from bytes in memory, the way a
// resource is read, so that tests and the fuzzer need no file.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "sound/wav_reader.h"

struct WavReaderTestAccess {
    static result_code::Result OpenMemory(WavReader& reader, std::vector<std::uint8_t> bytes) {
        return reader.OpenMemory(std::move(bytes));
    }
};
