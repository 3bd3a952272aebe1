// The audio device on Linux: OpenAL Soft on its default output. A secondary
// buffer is an OpenAL source playing one OpenAL buffer, filled from the
// bytes written between Lock and Unlock.
#pragma once

#include "platform/audio.h"

namespace platform::openal {

audio::Result CreateDevice(audio::Device** device);

// DirectSound volume (hundredths of a decibel) as an OpenAL gain.
float GainFromVolume(std::int32_t volume);

}  // namespace platform::openal
