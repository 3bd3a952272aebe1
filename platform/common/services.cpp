#include "platform/services.h"

#include "platform/user_interface.h"

namespace platform {

namespace audio {
Result CreateDevice(Device** device) { return CurrentServices().createAudioDevice(device); }
}  // namespace audio

WindowHandle FindMainWindow(const char* className) { return CurrentServices().findWindow(className); }

int ShowMessageBox(const char* text, const char* caption, std::uint32_t style) {
    return CurrentServices().showMessageBox(text, caption, style);
}

void SleepMilliseconds(std::uint32_t milliseconds) { CurrentServices().sleepMilliseconds(milliseconds); }

}  // namespace platform
