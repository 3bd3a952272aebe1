// Owns the sound device: opens it for a window, sets the primary buffer's
// format, and makes clips from WAV files.
#pragma once

#include <cstdint>

#include "platform/audio.h"
#include "sound/result_codes.h"

class SoundClip;

class SoundManager {
public:
    SoundManager();
    ~SoundManager();
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    result_code::Result Initialize(platform::WindowHandle window, std::uint32_t cooperativeLevel);
    result_code::Result SetPrimaryBufferFormat(std::uint32_t channels, std::uint32_t samplesPerSecond,
                                               std::uint32_t bitsPerSample);
    // Loads a PCM WAV file whole into a new clip; *clip is written only on
    // success.
    result_code::Result CreateClip(SoundClip** clip, const char* fileName, std::uint32_t creationFlags,
                                   platform::audio::Guid algorithm3d, std::uint32_t bufferCount);

    platform::audio::Device* device;
};
