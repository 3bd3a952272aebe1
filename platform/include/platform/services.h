// The platform services behind audio.h and user_interface.h, as a table of
// entries that the back end fills. Tests replace entries with fakes
// (platform/fake); nothing else changes them.
#pragma once

#include <cstdint>

#include "platform/audio.h"

namespace platform {

struct Services {
    audio::Result (*createAudioDevice)(audio::Device** device);
    WindowHandle (*findWindow)(const char* className);
    int (*showMessageBox)(const char* text, const char* caption, std::uint32_t style);
    void (*sleepMilliseconds)(std::uint32_t milliseconds);
};

Services& CurrentServices();

}  // namespace platform
