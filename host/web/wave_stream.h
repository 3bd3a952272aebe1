// Decodes the WAV stream that OpenAL Soft's wave writer produces (a header,
// then samples with no length known) into 16-bit samples, as it arrives in
// pieces. Whenever a new header shows up in the stream (the module was loaded
// again and its sound device opened anew), decoding starts over from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace web {

class WaveStream {
public:
    // Appends the whole frames that the bytes complete, interleaved, to out.
    void Feed(const std::uint8_t* bytes, std::size_t count, std::vector<std::int16_t>& out);

    int sampleRate() const { return sampleRate_; }
    int channels() const { return channels_; }
    // Whether a header with a format this reads (16-bit integer or 32-bit float) has come.
    bool ready() const { return inData_; }

private:
    enum class HeaderState { kNeedMore, kRead, kRefused };
    HeaderState ParseHeader();
    void Convert(std::size_t bytes, std::vector<std::int16_t>& out);

    std::vector<std::uint8_t> pending_;
    bool inData_ = false;
    bool isFloat_ = false;
    int sampleRate_ = 0;
    int channels_ = 0;
    int bytesPerSample_ = 0;
};

}  // namespace web
