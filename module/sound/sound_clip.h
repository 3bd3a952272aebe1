// One PCM sound loaded whole into one sound buffer of exactly its size. It
// plays, stops, rewinds and takes a volume, and refills itself when the
// device reports the buffer lost.
#pragma once

#include <cstdint>

#include "platform/audio.h"
#include "sound/result_codes.h"

class WavReader;

class SoundClip {
public:
    // Takes ownership of the buffer and the reader, and fills the buffer.
    SoundClip(platform::audio::Buffer* buffer, std::uint32_t bufferBytes, std::uint32_t bufferCount, WavReader* reader,
              std::uint32_t creationFlags);
    virtual ~SoundClip();
    SoundClip(const SoundClip&) = delete;
    SoundClip& operator=(const SoundClip&) = delete;

    result_code::Result FillBuffer(platform::audio::Buffer* target);
    result_code::Result RestoreBuffer(platform::audio::Buffer* target, bool* restored = nullptr);
    // A volume of 0 keeps the current volume; a frequency of -1 keeps the
    // current frequency.
    result_code::Result Play(std::uint32_t priority, std::uint32_t flags, std::int32_t volume, std::int32_t frequency,
                             std::int32_t pan);
    result_code::Result Stop();
    result_code::Result Rewind();
    result_code::Result SetVolume(std::int32_t volume);

    // Restore attempts before a buffer that stays lost is given up on.
    static constexpr int kRestoreAttempts = 50;
    static constexpr std::uint32_t kRestorePauseMs = 10;

    platform::audio::Buffer* buffer;
    std::uint32_t bufferBytes;
    WavReader* reader;
    std::uint32_t bufferCount;  // always 1
    std::uint32_t creationFlags;
    std::int32_t cachedVolume;  // hundredths of a decibel
};
