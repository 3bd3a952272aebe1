#include "posix/openal_audio.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "posix/host_lookup.h"

namespace platform::openal {
namespace {

using audio::Result;
namespace code = result_code;

constexpr double kHundredthsOfDbPerDecade = 2000.0;

// The primary buffer only carries the output format; OpenAL mixes on its own.
class PrimaryBuffer final : public audio::Buffer {
public:
    Result GetStatus(std::uint32_t* status) override {
        if (status == nullptr) return code::kInvalidArgument;
        *status = 0;
        return code::kOk;
    }
    Result Restore() override { return code::kOk; }
    Result Lock(std::uint32_t, std::uint32_t, void**, std::uint32_t*, void**, std::uint32_t*, std::uint32_t) override {
        return code::kInvalidCall;
    }
    Result Unlock(void*, std::uint32_t, void*, std::uint32_t) override { return code::kInvalidCall; }
    Result Play(std::uint32_t, std::uint32_t) override { return code::kOk; }
    Result Stop() override { return code::kOk; }
    Result SetCurrentPosition(std::uint32_t) override { return code::kInvalidCall; }
    Result SetVolume(std::int32_t) override { return code::kOk; }
    Result SetFrequency(std::uint32_t) override { return code::kInvalidCall; }
    Result SetPan(std::int32_t) override { return code::kOk; }
    Result SetFormat(const WaveFormat* format) override {
        if (format == nullptr || format->formatTag != kWaveFormatPcm) return code::kInvalidArgument;
        return code::kOk;
    }
    void Release() override { delete this; }
};

ALenum AlFormat(const WaveFormat& format) {
    if (format.channels == 1) return format.bitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
    return format.bitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
}

bool Playable(const WaveFormat* format) {
    return format != nullptr && format->formatTag == kWaveFormatPcm && (format->channels == 1 || format->channels == 2) &&
           (format->bitsPerSample == 8 || format->bitsPerSample == 16) && format->samplesPerSecond > 0 &&
           format->blockAlign == format->channels * format->bitsPerSample / 8;
}

class SourceBuffer final : public audio::Buffer {
public:
    SourceBuffer(const WaveFormat& format, std::uint32_t bytes) : format_(format), samples_(bytes, 0) {
        alGenBuffers(1, &buffer_);
        alGenSources(1, &source_);
        Upload();
    }
    bool valid() const { return alIsBuffer(buffer_) && alIsSource(source_); }

    Result GetStatus(std::uint32_t* status) override {
        if (status == nullptr) return code::kInvalidArgument;
        *status = 0;
        if (State() == AL_PLAYING) *status = audio::kStatusPlaying | (looping_ ? audio::kStatusLooping : 0);
        return code::kOk;
    }
    Result Restore() override { return code::kOk; }

    Result Lock(std::uint32_t offset, std::uint32_t bytes, void** region1, std::uint32_t* bytes1, void** region2,
                std::uint32_t* bytes2, std::uint32_t) override {
        if (region1 == nullptr || bytes1 == nullptr || offset >= samples_.size() || bytes == 0 ||
            bytes > samples_.size())
            return code::kInvalidArgument;
        // The buffer is circular: a lock running past its end wraps round.
        const std::uint32_t size = static_cast<std::uint32_t>(samples_.size());
        const std::uint32_t first = std::min(bytes, size - offset);
        *region1 = samples_.data() + offset;
        *bytes1 = first;
        if (region2 != nullptr) *region2 = first < bytes ? samples_.data() : nullptr;
        if (bytes2 != nullptr) *bytes2 = bytes - first;
        return code::kOk;
    }
    Result Unlock(void*, std::uint32_t, void*, std::uint32_t) override {
        Upload();
        return code::kOk;
    }

    Result Play(std::uint32_t, std::uint32_t flags) override {
        looping_ = (flags & audio::kPlayLooping) != 0;
        alSourcei(source_, AL_LOOPING, looping_ ? AL_TRUE : AL_FALSE);
        if (State() != AL_PLAYING) alSourcePlay(source_);
        return alGetError() == AL_NO_ERROR ? code::kOk : code::kFail;
    }
    // Stopping keeps the play position, as DirectSound does.
    Result Stop() override {
        if (State() == AL_PLAYING) alSourcePause(source_);
        return code::kOk;
    }
    Result SetCurrentPosition(std::uint32_t position) override {
        if (position >= samples_.size()) return code::kInvalidArgument;
        if (position == 0 && State() != AL_PLAYING)
            alSourceRewind(source_);
        else
            alSourcei(source_, AL_BYTE_OFFSET, static_cast<ALint>(position));
        return code::kOk;
    }
    Result SetVolume(std::int32_t volume) override {
        if (volume < audio::kVolumeMin || volume > audio::kVolumeMax) return code::kInvalidArgument;
        alSourcef(source_, AL_GAIN, GainFromVolume(volume));
        return code::kOk;
    }
    Result SetFrequency(std::uint32_t samplesPerSecond) override {
        const double rate = samplesPerSecond == 0 ? format_.samplesPerSecond : samplesPerSecond;
        alSourcef(source_, AL_PITCH, static_cast<float>(rate / format_.samplesPerSecond));
        return code::kOk;
    }
    Result SetPan(std::int32_t pan) override {
        if (pan < audio::kPanLeft || pan > audio::kPanRight) return code::kInvalidArgument;
        // A mono source placed on a half circle in front of the listener.
        const float x = static_cast<float>(pan) / audio::kPanRight;
        alSourcei(source_, AL_SOURCE_RELATIVE, AL_TRUE);
        alSource3f(source_, AL_POSITION, x, 0.0f, -std::sqrt(1.0f - x * x));
        return code::kOk;
    }
    Result SetFormat(const WaveFormat*) override { return code::kInvalidCall; }
    void Release() override { delete this; }

private:
    ~SourceBuffer() {
        alSourceStop(source_);
        alDeleteSources(1, &source_);
        alDeleteBuffers(1, &buffer_);
    }
    ALint State() const {
        ALint state = AL_INITIAL;
        alGetSourcei(source_, AL_SOURCE_STATE, &state);
        return state;
    }
    // OpenAL takes a buffer's data only while no source holds it.
    void Upload() {
        const ALint state = State();
        ALint offset = 0;
        alGetSourcei(source_, AL_BYTE_OFFSET, &offset);
        alSourceStop(source_);
        alSourcei(source_, AL_BUFFER, 0);
        alBufferData(buffer_, AlFormat(format_), samples_.data(), static_cast<ALsizei>(samples_.size()),
                     static_cast<ALsizei>(format_.samplesPerSecond));
        alSourcei(source_, AL_BUFFER, static_cast<ALint>(buffer_));
        if (state == AL_PLAYING || state == AL_PAUSED) {
            alSourcei(source_, AL_BYTE_OFFSET, offset);
            if (state == AL_PLAYING) alSourcePlay(source_);
        }
    }

    WaveFormat format_;
    std::vector<std::uint8_t> samples_;
    ALuint buffer_ = 0;
    ALuint source_ = 0;
    bool looping_ = false;
};

class OpenAlDevice final : public audio::Device {
public:
    static Result Open(audio::Device** out) {
        if (ALCcontext* hosts = HostContext()) {
            if (alcMakeContextCurrent(hosts) != ALC_TRUE) return code::kNoDriver;
            *out = new (std::nothrow) OpenAlDevice(nullptr, hosts);
            return *out != nullptr ? code::kOk : code::kOutOfMemory;
        }
        ALCdevice* device = alcOpenDevice(nullptr);
        if (device == nullptr) return code::kNoDriver;
        ALCcontext* context = alcCreateContext(device, nullptr);
        if (context == nullptr || alcMakeContextCurrent(context) != ALC_TRUE) {
            if (context != nullptr) alcDestroyContext(context);
            alcCloseDevice(device);
            return code::kNoDriver;
        }
        *out = new (std::nothrow) OpenAlDevice(device, context);
        return *out != nullptr ? code::kOk : code::kOutOfMemory;
    }

    Result SetCooperativeLevel(WindowHandle, std::uint32_t) override { return code::kOk; }

    Result CreateSoundBuffer(const audio::BufferDescription& description, audio::Buffer** buffer) override {
        if (buffer == nullptr) return code::kInvalidArgument;
        if (description.flags & audio::kBufferPrimary) {
            *buffer = new (std::nothrow) PrimaryBuffer;
            return *buffer != nullptr ? code::kOk : code::kOutOfMemory;
        }
        if (!Playable(description.format) || description.bufferBytes == 0) return code::kInvalidArgument;
        alGetError();
        auto* source = new (std::nothrow) SourceBuffer(*description.format, description.bufferBytes);
        if (source == nullptr) return code::kOutOfMemory;
        if (!source->valid()) {
            source->Release();
            return code::kFail;
        }
        *buffer = source;
        return code::kOk;
    }

    void Release() override { delete this; }

private:
    // The host's context, when it offers one, stays the host's.
    static ALCcontext* HostContext() {
        const AvrionHostServices* host = HostServices();
        return host != nullptr && host->audioContext != nullptr ? static_cast<ALCcontext*>(host->audioContext())
                                                                 : nullptr;
    }

    OpenAlDevice(ALCdevice* device, ALCcontext* context) : device_(device), context_(context) {}
    ~OpenAlDevice() {
        alcMakeContextCurrent(nullptr);
        if (device_ == nullptr) return;
        alcDestroyContext(context_);
        alcCloseDevice(device_);
    }

    ALCdevice* device_;  // null: the context is the host's
    ALCcontext* context_;
};

}  // namespace

float GainFromVolume(std::int32_t volume) {
    return static_cast<float>(std::pow(10.0, volume / kHundredthsOfDbPerDecade));
}

audio::Result CreateDevice(audio::Device** device) {
    if (device == nullptr) return code::kInvalidArgument;
    return OpenAlDevice::Open(device);
}

}  // namespace platform::openal
