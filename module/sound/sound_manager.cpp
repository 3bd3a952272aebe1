#include "sound/sound_manager.h"

#include <memory>
#include <new>

#include "sound/sound_clip.h"
#include "sound/wav_reader.h"

namespace code = result_code;
namespace audio = platform::audio;

namespace {
constexpr std::uint16_t kBitsPerByte = 8;
}

SoundManager::SoundManager() : device(nullptr) {}

SoundManager::~SoundManager() {
    if (device != nullptr) device->Release();
}

code::Result SoundManager::Initialize(platform::WindowHandle window, std::uint32_t cooperativeLevel) {
    if (device != nullptr) {
        device->Release();
        device = nullptr;
    }
    if (const code::Result result = audio::CreateDevice(&device); code::Failed(result)) {
        device = nullptr;
        return result;
    }
    if (const code::Result result = device->SetCooperativeLevel(window, cooperativeLevel); code::Failed(result))
        return result;
    return code::kOk;
}

code::Result SoundManager::SetPrimaryBufferFormat(std::uint32_t channels, std::uint32_t samplesPerSecond,
                                                  std::uint32_t bitsPerSample) {
    if (device == nullptr) return code::kNotInitialised;

    audio::BufferDescription description{};
    description.flags = audio::kBufferPrimary;
    audio::Buffer* primary = nullptr;
    if (const code::Result result = device->CreateSoundBuffer(description, &primary); code::Failed(result))
        return result;

    WaveFormat format{};
    format.formatTag = kWaveFormatPcm;
    format.channels = static_cast<std::uint16_t>(channels);
    format.samplesPerSecond = samplesPerSecond;
    format.bitsPerSample = static_cast<std::uint16_t>(bitsPerSample);
    format.blockAlign = static_cast<std::uint16_t>(bitsPerSample / kBitsPerByte * channels);
    format.averageBytesPerSecond = format.blockAlign * samplesPerSecond;
    const code::Result result = primary->SetFormat(&format);
    primary->Release();
    return code::Failed(result) ? result : code::kOk;
}

code::Result SoundManager::CreateClip(SoundClip** clip, const char* fileName, std::uint32_t creationFlags,
                                      audio::Guid algorithm3d, std::uint32_t bufferCount) {
    if (device == nullptr) return code::kNotInitialised;
    if (fileName == nullptr || clip == nullptr || bufferCount < 1) return code::kInvalidArgument;

    std::unique_ptr<WavReader> reader(new (std::nothrow) WavReader);
    if (!reader) return code::kOutOfMemory;
    reader->Open(fileName);
    if (reader->GetDataSize() == 0 || reader->format == nullptr || reader->format->formatTag != kWaveFormatPcm)
        return code::kFail;

    audio::BufferDescription description{};
    description.flags = creationFlags;
    description.bufferBytes = reader->GetDataSize();
    description.format = reader->format;
    description.algorithm3d = algorithm3d;
    audio::Buffer* buffer = nullptr;
    const code::Result created = device->CreateSoundBuffer(description, &buffer);
    if (code::Failed(created)) return created;

    *clip = new (std::nothrow) SoundClip(buffer, reader->GetDataSize(), bufferCount, reader.get(), creationFlags);
    if (*clip == nullptr) {
        buffer->Release();
        return code::kOutOfMemory;
    }
    reader.release();
    return created == code::kNoVirtualisation ? created : code::kOk;
}
