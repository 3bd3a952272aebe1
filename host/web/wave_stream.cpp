#include "web/wave_stream.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace web {
namespace {

constexpr std::size_t kSignatureBytes = 12;  // "RIFF", the length, "WAVE"
constexpr std::uint16_t kPcm = 1, kFloat = 3, kExtensible = 0xFFFE;
constexpr std::size_t kLongestHeader = 4096;

std::uint32_t Le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

// Where the next header begins in the bytes, or their size.
std::size_t FindHeader(const std::vector<std::uint8_t>& bytes, std::size_t from) {
    for (std::size_t i = from; i + kSignatureBytes <= bytes.size(); ++i)
        if (std::memcmp(&bytes[i], "RIFF", 4) == 0 && std::memcmp(&bytes[i + 8], "WAVE", 4) == 0) return i;
    return bytes.size();
}

}  // namespace

void WaveStream::Feed(const std::uint8_t* bytes, std::size_t count, std::vector<std::int16_t>& out) {
    pending_.insert(pending_.end(), bytes, bytes + count);
    for (;;) {
        if (!inData_) {
            const std::size_t header = FindHeader(pending_, 0);
            if (header == pending_.size()) {
                // Bytes before any header belong to no stream; the last few may begin a signature.
                const std::size_t keep = std::min(pending_.size(), kSignatureBytes - 1);
                pending_.erase(pending_.begin(), pending_.end() - static_cast<std::ptrdiff_t>(keep));
                return;
            }
            pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(header));
            const HeaderState state = ParseHeader();
            if (state == HeaderState::kNeedMore) return;
            if (state == HeaderState::kRefused) pending_.erase(pending_.begin(), pending_.begin() + 4);
            continue;
        }
        const std::size_t frame = static_cast<std::size_t>(channels_ * bytesPerSample_);
        const std::size_t header = FindHeader(pending_, 0);
        if (header < pending_.size()) {
            // A new stream begins: the old one's last partial frame is dropped.
            Convert(header - header % frame, out);
            pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(header));
            inData_ = false;
            continue;
        }
        // The last bytes wait for the next piece: they may begin a header.
        if (pending_.size() < kSignatureBytes) return;
        std::size_t usable = pending_.size() - (kSignatureBytes - 1);
        usable -= usable % frame;
        Convert(usable, out);
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(usable));
        return;
    }
}

// pending_ starts with a signature: reads the chunks up to "data" and drops the header.
WaveStream::HeaderState WaveStream::ParseHeader() {
    std::size_t at = kSignatureBytes;
    bool formatKnown = false;
    for (;;) {
        if (at > kLongestHeader) return HeaderState::kRefused;
        if (at + 8 > pending_.size()) return HeaderState::kNeedMore;
        const std::uint8_t* chunk = &pending_[at];
        const std::uint32_t size = Le32(chunk + 4);
        if (std::memcmp(chunk, "data", 4) == 0) {
            if (!formatKnown) return HeaderState::kRefused;
            pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(at + 8));
            inData_ = true;
            return HeaderState::kRead;
        }
        if (size > kLongestHeader) return HeaderState::kRefused;
        if (at + 8 + size > pending_.size()) return HeaderState::kNeedMore;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16) return HeaderState::kRefused;
            std::uint16_t tag = Le16(chunk + 8);
            if (tag == kExtensible && size >= 26) tag = Le16(chunk + 8 + 24);
            const int channels = Le16(chunk + 10);
            const int rate = static_cast<int>(Le32(chunk + 12));
            const int bits = Le16(chunk + 22);
            const bool isFloat = tag == kFloat && bits == 32;
            if (channels < 1 || channels > 8 || rate <= 0 || !(isFloat || (tag == kPcm && bits == 16)))
                return HeaderState::kRefused;
            channels_ = channels;
            sampleRate_ = rate;
            isFloat_ = isFloat;
            bytesPerSample_ = bits / 8;
            formatKnown = true;
        }
        at += 8 + size + (size & 1);
    }
}

void WaveStream::Convert(std::size_t bytes, std::vector<std::int16_t>& out) {
    for (std::size_t i = 0; i + static_cast<std::size_t>(bytesPerSample_) <= bytes; i += static_cast<std::size_t>(bytesPerSample_)) {
        if (isFloat_) {
            float sample;
            std::memcpy(&sample, &pending_[i], sizeof sample);
            const float clamped = std::isfinite(sample) ? std::clamp(sample, -1.0f, 1.0f) : 0.0f;
            out.push_back(static_cast<std::int16_t>(std::lround(clamped * 32767.0f)));
        } else {
            out.push_back(static_cast<std::int16_t>(Le16(&pending_[i])));
        }
    }
}

}  // namespace web
