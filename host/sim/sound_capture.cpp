#include "sim/sound_capture.h"

#include <AL/alc.h>
#include <AL/alext.h>
#include <sndfile.h>

#include <cmath>
#include <vector>

#include "sim/host_desktop.h"

struct SoundCapture::Device {
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    LPALCRENDERSAMPLESSOFT render = nullptr;
    SNDFILE* file = nullptr;

    ~Device() {
        if (context != nullptr) {
            if (alcGetCurrentContext() == context) alcMakeContextCurrent(nullptr);
            alcDestroyContext(context);
        }
        if (device != nullptr) alcCloseDevice(device);
        if (file != nullptr) sf_close(file);
    }
};

std::unique_ptr<SoundCapture> SoundCapture::Open(const std::string& wavPath, std::string& error) {
    if (alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback") != ALC_TRUE) {
        error = "this OpenAL has no loopback device to record the sound with";
        return nullptr;
    }
    std::unique_ptr<SoundCapture> capture(new SoundCapture);
    capture->device_ = std::make_unique<Device>();
    Device& d = *capture->device_;
    auto openLoopback =
        reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    d.render = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    if (openLoopback != nullptr) d.device = openLoopback(nullptr);
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_MONO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_SHORT_SOFT,
                                 ALC_FREQUENCY, kSampleRate, 0};
    if (d.device != nullptr && d.render != nullptr) d.context = alcCreateContext(d.device, attributes);
    if (d.context == nullptr) {
        error = "cannot open an OpenAL loopback device to record the sound";
        return nullptr;
    }
    if (wavPath.empty()) {
        HostDesktop::Instance().audioContext = d.context;
        return capture;
    }
    SF_INFO info{};
    info.samplerate = kSampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    d.file = sf_open(wavPath.c_str(), SFM_WRITE, &info);
    if (d.file == nullptr) {
        error = "cannot write the sound to " + wavPath + ": " + sf_strerror(nullptr);
        return nullptr;
    }
    capture->path_ = wavPath;
    HostDesktop::Instance().audioContext = d.context;
    return capture;
}

SoundCapture::~SoundCapture() {
    if (HostDesktop::Instance().audioContext == device_->context) HostDesktop::Instance().audioContext = nullptr;
}

void SoundCapture::Advance(double seconds) {
    if (!(seconds > 0.0) || device_->file == nullptr) return;
    pendingSamples_ += seconds * kSampleRate;
    const auto samples = static_cast<long long>(std::floor(pendingSamples_));
    if (samples <= 0) return;
    pendingSamples_ -= static_cast<double>(samples);
    std::vector<short> block(static_cast<std::size_t>(samples));
    device_->render(device_->device, block.data(), static_cast<ALCsizei>(samples));
    sf_write_short(device_->file, block.data(), static_cast<sf_count_t>(samples));
    samplesWritten_ += samples;
}
