// The wave-format record of Windows (WAVEFORMATEX): 18 bytes, byte-packed,
// followed by extraBytes bytes of format-specific data.
#pragma once

#include <cstdint>

#pragma pack(push, 1)
struct WaveFormat {
    std::uint16_t formatTag;  // 1 for PCM
    std::uint16_t channels;
    std::uint32_t samplesPerSecond;
    std::uint32_t averageBytesPerSecond;
    std::uint16_t blockAlign;
    std::uint16_t bitsPerSample;
    std::uint16_t extraBytes;
};
#pragma pack(pop)

static_assert(sizeof(WaveFormat) == 18);

inline constexpr std::uint16_t kWaveFormatPcm = 1;
