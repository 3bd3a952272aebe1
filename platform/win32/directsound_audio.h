// The audio device on Windows: DirectSound 8 itself, each call passed on.
#pragma once

#include "platform/audio.h"

namespace platform::directsound {
audio::Result CreateDevice(audio::Device** device);
}  // namespace platform::directsound
