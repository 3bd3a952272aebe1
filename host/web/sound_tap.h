// The module's sound, for the browser: OpenAL Soft's wave writer mixes
// everything the module plays, at the pace of the wall clock, into a FIFO;
// a thread here reads it and keeps the last seconds as 16-bit samples for the
// page to fetch and play.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "web/wave_stream.h"

namespace web {

class SoundTap {
public:
    static constexpr double kKeptSeconds = 2.0;

    struct Chunk {
        int sampleRate = 0;
        int channels = 0;
        std::uint64_t first = 0;  // index of the first sample (of all since the start)
        std::vector<std::int16_t> samples;
    };

    SoundTap() = default;
    ~SoundTap();
    SoundTap(const SoundTap&) = delete;
    SoundTap& operator=(const SoundTap&) = delete;

    // Makes the FIFO and an OpenAL configuration that writes into it in a new
    // folder, and points ALSOFT_CONF there. Call before the module loads.
    // Empty on success, else the fault.
    std::string Open();
    // Points ALSOFT_CONF at OpenAL's silent output instead: no sound anywhere.
    std::string Silence();

    // The samples from index `from` on, at most `most`; from the oldest kept
    // when `from` is older; none, starting at the newest, when `from` is
    // beyond it. Chunks start on a whole frame.
    Chunk After(std::uint64_t from, std::size_t most);

private:
    void Read();

    std::string folder_;
    int fifo_ = -1;
    std::atomic<bool> stopping_{false};
    std::thread reader_;

    std::mutex lock_;
    WaveStream stream_;
    std::deque<std::int16_t> kept_;
    std::uint64_t total_ = 0;  // samples ever read; kept_ ends there
};

}  // namespace web
