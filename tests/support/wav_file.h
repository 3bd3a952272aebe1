// Small RIFF/WAVE files made in memory for tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wav_file {

inline void Put16(std::string& out, std::uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

inline void Put32(std::string& out, std::uint32_t value) {
    Put16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    Put16(out, static_cast<std::uint16_t>(value >> 16));
}

// A canonical file: "fmt " of 16 bytes, then "data".
inline std::string Make(std::uint16_t formatTag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                        const std::vector<std::uint8_t>& samples) {
    const std::uint16_t blockAlign = static_cast<std::uint16_t>(channels * bits / 8);
    std::string body = "WAVEfmt ";
    Put32(body, 16);
    Put16(body, formatTag);
    Put16(body, channels);
    Put32(body, rate);
    Put32(body, rate * blockAlign);
    Put16(body, blockAlign);
    Put16(body, bits);
    body += "data";
    Put32(body, static_cast<std::uint32_t>(samples.size()));
    body.append(samples.begin(), samples.end());
    std::string file = "RIFF";
    Put32(file, static_cast<std::uint32_t>(body.size()));
    return file + body;
}

inline std::string Pcm16Mono(std::size_t sampleCount) {
    std::vector<std::uint8_t> samples(sampleCount * 2);
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<std::uint8_t>(i * 7);
    return Make(1, 1, 22050, 16, samples);
}

}  // namespace wav_file
