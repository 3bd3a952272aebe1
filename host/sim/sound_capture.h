// Records everything the module plays into a WAV file, in simulator time: the
// module plays into an OpenAL loopback device that the host renders by the
// frame, so a run far faster than real time still leaves its whole sound.
// Open it before the module is loaded (the module opens its sound device when
// it loads) and destroy it after the module is unloaded.
#pragma once

#include <memory>
#include <string>

class SoundCapture {
public:
    static constexpr int kSampleRate = 22050;  // the panel sounds' own rate

    // Null with the reason in error when the file or the device cannot be had.
    static std::unique_ptr<SoundCapture> Open(const std::string& wavPath, std::string& error);
    // A device that keeps nothing: the module plays into it as into any, and
    // no sound card is asked for (nor its absence reported by the module).
    static std::unique_ptr<SoundCapture> Silent(std::string& error) { return Open(std::string(), error); }
    ~SoundCapture();
    SoundCapture(const SoundCapture&) = delete;
    SoundCapture& operator=(const SoundCapture&) = delete;

    // Mixes what plays over the next stretch of simulator time into the file.
    void Advance(double seconds);
    double recordedSeconds() const { return static_cast<double>(samplesWritten_) / kSampleRate; }
    const std::string& path() const { return path_; }

private:
    struct Device;
    SoundCapture() = default;

    std::unique_ptr<Device> device_;
    std::string path_;
    double pendingSamples_ = 0.0;  // fractions of a sample carried to the next stretch
    long long samplesWritten_ = 0;
};
