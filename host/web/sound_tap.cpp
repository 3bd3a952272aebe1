#include "web/sound_tap.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace web {
namespace {

std::string MakeFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "avrion-panel-sound-XXXXXX").string();
    return mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

std::string WriteConfig(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::trunc);
    file << text;
    file.close();
    if (!file) return "cannot write " + path;
    if (setenv("ALSOFT_CONF", path.c_str(), 1) != 0) return "cannot set ALSOFT_CONF";
    return std::string();
}

}  // namespace

SoundTap::~SoundTap() {
    stopping_ = true;
    if (reader_.joinable()) reader_.join();
    if (fifo_ >= 0) close(fifo_);
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}

std::string SoundTap::Open() {
    folder_ = MakeFolder();
    if (folder_.empty()) return "cannot make a folder for the sound";
    const std::string fifo = folder_ + "/mix.wav";
    if (mkfifo(fifo.c_str(), 0600) != 0) return "cannot make the FIFO " + fifo;
    // Open for reading first, without waiting for a writer: the writer's open then finds a reader at once.
    fifo_ = open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fifo_ < 0) return "cannot open the FIFO " + fifo;
    if (std::string error = WriteConfig(folder_ + "/openal.conf", "[general]\ndrivers = wave\n[wave]\nfile = " + fifo + "\n");
        !error.empty())
        return error;
    reader_ = std::thread([this] { Read(); });
    return std::string();
}

std::string SoundTap::Silence() {
    folder_ = MakeFolder();
    if (folder_.empty()) return "cannot make a folder for the OpenAL configuration";
    return WriteConfig(folder_ + "/openal.conf", "[general]\ndrivers = null\n");
}

void SoundTap::Read() {
    std::vector<std::uint8_t> buffer(64 * 1024);
    std::vector<std::int16_t> samples;
    while (!stopping_) {
        pollfd waiting{fifo_, POLLIN, 0};
        poll(&waiting, 1, 100);
        const ssize_t count = read(fifo_, buffer.data(), buffer.size());
        if (count <= 0) {
            // No writer (between two loads of the module) or nothing yet: a FIFO without writer polls at once.
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        samples.clear();
        std::lock_guard<std::mutex> hold(lock_);
        stream_.Feed(buffer.data(), static_cast<std::size_t>(count), samples);
        kept_.insert(kept_.end(), samples.begin(), samples.end());
        total_ += samples.size();
        const auto most = static_cast<std::size_t>(kKeptSeconds * stream_.sampleRate() * stream_.channels());
        if (stream_.channels() > 0 && kept_.size() > most) {
            // Whole frames only, so that every chunk starts on one.
            std::size_t drop = kept_.size() - most;
            drop += (stream_.channels() - drop % static_cast<std::size_t>(stream_.channels())) %
                    static_cast<std::size_t>(stream_.channels());
            kept_.erase(kept_.begin(), kept_.begin() + static_cast<std::ptrdiff_t>(std::min(drop, kept_.size())));
        }
    }
}

SoundTap::Chunk SoundTap::After(std::uint64_t from, std::size_t most) {
    std::lock_guard<std::mutex> hold(lock_);
    Chunk chunk;
    chunk.sampleRate = stream_.sampleRate();
    chunk.channels = stream_.channels();
    const std::uint64_t oldest = total_ - kept_.size();
    const auto frame = static_cast<std::uint64_t>(std::max(chunk.channels, 1));
    if (from > total_) from = total_;
    if (from < oldest) from = oldest;
    from -= (from - oldest) % frame;
    chunk.first = from;
    std::size_t count = static_cast<std::size_t>(total_ - from);
    count = std::min(count, most - most % frame);
    const auto begin = kept_.begin() + static_cast<std::ptrdiff_t>(from - oldest);
    chunk.samples.assign(begin, begin + static_cast<std::ptrdiff_t>(count));
    return chunk;
}

}  // namespace web
